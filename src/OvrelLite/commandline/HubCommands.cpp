#include "OvrelLite/commandline/HubCommands.h"

#include "OvrelLite/commandline/CatalogCommand.h"
#include "OvrelLite/commandline/InstallCommand.h"
#include "OvrelLite/commandline/ListCommand.h"
#include "OvrelLite/commandline/PrintMenuCommand.h"
#include "OvrelLite/commandline/RegisterDesktopCommand.h"
#include "OvrelLite/commandline/SendCommand.h"
#include "OvrelLite/commandline/UninstallCommand.h"

namespace ovrel::HubCommands {

const std::vector<HubCommand>& all() {
    static const std::vector<HubCommand> commands{
        installCommand(),   uninstallCommand(),       listCommand(),    sendCommand(),
        printMenuCommand(), registerDesktopCommand(), catalogCommand(), installFromCatalogCommand(),
    };
    return commands;
}

const HubCommand* named(const QString& name) {
    for (const HubCommand& command : all()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

} // namespace ovrel::HubCommands
