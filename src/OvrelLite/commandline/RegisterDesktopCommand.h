#pragma once

#include "OvrelLite/commandline/HubCommand.h"

namespace ovrel {

// --register-desktop: writes the hub's desktop entry for this program and
// makes the hub the handler of "ovrel-lite:" links. Runs where it is typed.
HubCommand registerDesktopCommand();

} // namespace ovrel
