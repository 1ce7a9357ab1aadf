#include "OvrelLite/commandline/RegisterDesktopCommand.h"

#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelLite/DesktopEntryTemplate.h"
#include "OvrelLite/commandline/HubCommandLine.h"
#include "Platform/desktop/DesktopRegistration.h"
#include "Platform/files/FileError.h"

#include <QCoreApplication>

namespace ovrel {

HubCommand registerDesktopCommand() {
    HubCommand command;
    command.name = QStringLiteral("register-desktop");
    command.summary = QStringLiteral("install the desktop entry and open ovrel-lite: links "
                                     "with this program");
    command.runs = HubCommand::Runs::inCallingProcess;
    command.run = [](const CommandInvocation&, HubCommandContext&) {
        const QString desktopId = QString::fromLatin1(BuildIdentity::kLiteBundleIdentifier);
        try {
            const QString entry = DesktopRegistration::installEntry(
                desktopId,
                DesktopRegistration::entryText(QString::fromUtf8(kLiteDesktopEntryTemplate),
                                               QCoreApplication::applicationFilePath()));
            DesktopRegistration::setDefaultApplication(
                QStringLiteral("x-scheme-handler/") +
                    QString::fromLatin1(HubCommandLine::kUrlScheme),
                desktopId);
            return QtFuture::makeReadyFuture(
                CommandLineOutcome::success(entry + QLatin1Char('\n')));
        } catch (const FileError& error) {
            return QtFuture::makeReadyFuture(CommandLineOutcome::failure(
                ExitStatus::failure,
                QStringLiteral("ovrel-lite: ") + error.description() + QLatin1Char('\n')));
        }
    };
    return command;
}

} // namespace ovrel
