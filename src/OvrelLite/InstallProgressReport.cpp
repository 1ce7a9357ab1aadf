#include "OvrelLite/InstallProgressReport.h"

#include "OvrelHub/store/InstallProgress.h"

#include <optional>

namespace ovrel {

namespace {

// The steps after the download; the others have no line of their own.
std::optional<QString> stepText(InstallProgress::Step step) {
    switch (step) {
    case InstallProgress::Step::verifying:
        return QStringLiteral("Checking the archive");
    case InstallProgress::Step::unpacking:
        return QStringLiteral("Unpacking");
    case InstallProgress::Step::installing:
        return QStringLiteral("Checking the signature and installing");
    case InstallProgress::Step::waiting:
    case InstallProgress::Step::downloading:
        break;
    }
    return std::nullopt;
}

} // namespace

void reportInstallProgress(InstallProgress& progress, const QString& what,
                           CommandLineProgressSink sink) {
    if (!sink)
        return;
    QObject::connect(&progress, &InstallProgress::downloaded, &progress,
                     [sink, what](qint64 received, qint64 total) {
                         sink({what, received, total});
                     });
    QObject::connect(&progress, &InstallProgress::stepChanged, &progress,
                     [sink](InstallProgress::Step step) {
                         if (const std::optional<QString> text = stepText(step))
                             sink({*text, -1, -1});
                     });
}

} // namespace ovrel
