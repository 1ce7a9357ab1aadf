#include "Platform/process/ToolProcess.h"

#include <QProcess>

namespace ovrel::ToolProcess {

namespace {

Result runProcess(const QString& program, const QStringList& arguments, bool captureOutput,
                  qint64 maxOutput) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!captureOutput)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1))
        throw LaunchError(QStringLiteral("%1 could not be started: %2")
                              .arg(program, process.errorString())
                              .toStdString());
    Result result;
    if (captureOutput) {
        // Read as it comes so a talkative tool never blocks on a full pipe.
        while (process.waitForReadyRead(-1)) {
            const QByteArray chunk = process.readAllStandardOutput();
            if (result.output.size() < maxOutput)
                result.output += chunk.left(maxOutput - result.output.size());
        }
    }
    process.waitForFinished(-1);
    if (captureOutput) {
        const QByteArray rest = process.readAllStandardOutput();
        if (result.output.size() < maxOutput)
            result.output += rest.left(maxOutput - result.output.size());
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

} // namespace

int run(const QString& program, const QStringList& arguments) {
    return runProcess(program, arguments, false, 0).status;
}

Result runCapturingOutput(const QString& program, const QStringList& arguments, qint64 maxOutput) {
    return runProcess(program, arguments, true, maxOutput);
}

} // namespace ovrel::ToolProcess
