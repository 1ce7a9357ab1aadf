#include "OvrelLite/commandline/SendCommand.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/runner/BlockedLaunchAlert.h"
#include "OvrelHub/runner/ModuleRunner.h"

namespace ovrel {

namespace {

QString refusalText(const QString& id, const ModuleSendRefusal& refusal, AppLanguage language) {
    switch (refusal.kind) {
    case ModuleSendRefusal::Kind::notInstalled:
        return id + QStringLiteral(": ") + Loc::t(LocKey::appsNotInstalled, language);
    case ModuleSendRefusal::Kind::launchBlocked:
        if (refusal.block)
            return BlockedLaunchAlert::texts(id, *refusal.block, language).informative;
        break;
    case ModuleSendRefusal::Kind::signatureFailed:
    case ModuleSendRefusal::Kind::inboxNotWritten:
        break;
    }
    return refusal.logLine;
}

} // namespace

HubCommand sendCommand() {
    HubCommand command;
    command.name = QStringLiteral("send");
    command.synopsis = QStringLiteral("ID COMMAND [ARGUMENT]");
    command.summary = QStringLiteral("send a command to a module, starting it when it is not "
                                     "running");
    command.minArguments = 2;
    command.maxArguments = 3;
    command.run = [](const CommandInvocation& invocation, HubCommandContext& context) {
        const QStringList& arguments = invocation.arguments;
        const QString& id = arguments.at(0);
        const std::optional<QString> argument =
            arguments.size() > 2 ? std::optional<QString>(arguments.at(2)) : std::nullopt;
        const std::optional<ModuleSendRefusal> refusal =
            context.runner.sendReporting(arguments.at(1), argument, id);
        if (!refusal)
            return QtFuture::makeReadyFuture(CommandLineOutcome::success());
        return QtFuture::makeReadyFuture(CommandLineOutcome::failure(
            ExitStatus::failure,
            refusalText(id, *refusal, context.language()) + QLatin1Char('\n')));
    };
    return command;
}

} // namespace ovrel
