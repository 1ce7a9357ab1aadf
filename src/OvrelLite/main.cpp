#include "OvrelLite/CommandLineProcess.h"
#include "OvrelLite/HubProcess.h"
#include "OvrelLite/commandline/HubCommandLine.h"

#include <QDir>
#include <QStringList>

using namespace ovrel;

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const HubCommandLine::Parsed parsed = HubCommandLine::parse(arguments, QDir::currentPath());
    switch (parsed.kind) {
    case HubCommandLine::Parsed::Kind::help:
        printOutcome(CommandLineOutcome::success(HubCommandLine::usage()));
        return ExitStatus::success;
    case HubCommandLine::Parsed::Kind::version:
        printOutcome(
            CommandLineOutcome::success(QStringLiteral("Ovrel Lite " OVREL_HUB_VERSION "\n")));
        return ExitStatus::success;
    case HubCommandLine::Parsed::Kind::usageError:
        printOutcome(HubCommandLine::usageFailure(parsed.error));
        return ExitStatus::usage;
    case HubCommandLine::Parsed::Kind::command:
        return runCommandLineProcess(argc, argv, arguments, parsed);
    case HubCommandLine::Parsed::Kind::startHub:
        break;
    }
    return runHubProcess(argc, argv, parsed);
}
