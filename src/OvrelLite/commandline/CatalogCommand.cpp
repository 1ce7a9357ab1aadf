#include "OvrelLite/commandline/CatalogCommand.h"

#include "OvrelHub/modules/AppModules.h"
#include "OvrelLite/CatalogCommands.h"

namespace ovrel {

namespace {

// The catalog commands print as they go (a download's progress among it), so
// they run where they were typed and report only their status.
HubCommand::Run printingInThisProcess(std::function<int(const CommandInvocation&)> body) {
    return [body = std::move(body)](const CommandInvocation& invocation, HubCommandContext&) {
        const int status = body(invocation);
        return QtFuture::makeReadyFuture(status == ExitStatus::success
                                             ? CommandLineOutcome::success()
                                             : CommandLineOutcome::failure(status, {}));
    };
}

} // namespace

HubCommand catalogCommand() {
    HubCommand command;
    command.name = QStringLiteral("catalog");
    command.summary = QStringLiteral("list the online catalog with the planned action per module");
    command.runs = HubCommand::Runs::inCallingProcess;
    command.run = printingInThisProcess([](const CommandInvocation&) {
        return CatalogCommands::printCatalog(AppModules::shared());
    });
    return command;
}

HubCommand installFromCatalogCommand() {
    HubCommand command;
    command.name = QStringLiteral("install-from-catalog");
    command.synopsis = QStringLiteral("ID");
    command.summary = QStringLiteral("install or update a module from the online catalog");
    command.minArguments = 1;
    command.maxArguments = 1;
    command.runs = HubCommand::Runs::inCallingProcess;
    command.run = printingInThisProcess([](const CommandInvocation& invocation) {
        return CatalogCommands::installFromCatalog(AppModules::shared(),
                                                   invocation.arguments.first());
    });
    return command;
}

} // namespace ovrel
