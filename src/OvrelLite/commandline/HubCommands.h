#pragma once

#include "OvrelLite/commandline/HubCommand.h"

#include <vector>

namespace ovrel {

// Every command of the command line, in the order the usage text lists them.
namespace HubCommands {
const std::vector<HubCommand>& all();
const HubCommand* named(const QString& name);
} // namespace HubCommands

} // namespace ovrel
