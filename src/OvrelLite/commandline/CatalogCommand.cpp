#include "OvrelLite/commandline/CatalogCommand.h"

#include "OvrelLite/CatalogCommands.h"

namespace ovrel {

HubCommand catalogCommand() {
    HubCommand command;
    command.name = QStringLiteral("catalog");
    command.summary = QStringLiteral("list the online catalog with the planned action per module");
    command.run = [](const CommandInvocation&, HubCommandContext& context) {
        return CatalogCommands::printCatalog(context);
    };
    return command;
}

HubCommand installFromCatalogCommand() {
    HubCommand command;
    command.name = QStringLiteral("install-from-catalog");
    command.synopsis = QStringLiteral("ID");
    command.summary = QStringLiteral("install or update a module from the online catalog");
    command.minArguments = 1;
    command.maxArguments = 1;
    command.run = [](const CommandInvocation& invocation, HubCommandContext& context) {
        return CatalogCommands::installFromCatalog(context, invocation.arguments.first(),
                                                   invocation.progress);
    };
    return command;
}

} // namespace ovrel
