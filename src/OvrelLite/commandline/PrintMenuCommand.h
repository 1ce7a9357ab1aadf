#pragma once

#include "OvrelLite/commandline/HubCommand.h"

namespace ovrel {

// --print-menu: the status menu as text, with the sections running modules publish.
HubCommand printMenuCommand();

} // namespace ovrel
