#include "OvrelLite/commandline/PrintMenuCommand.h"

namespace ovrel {

HubCommand printMenuCommand() {
    HubCommand command;
    command.name = QStringLiteral("print-menu");
    command.summary = QStringLiteral("print the status menu as text, with running modules' "
                                     "sections");
    command.needsGui = true;
    command.run = [](const CommandInvocation&, HubCommandContext& context) {
        return context.menuText().then(context.mainThread, [](const QString& text) {
            return CommandLineOutcome::success(text);
        });
    };
    return command;
}

} // namespace ovrel
