#pragma once

#include "OvrelLite/commandline/HubCommand.h"

namespace ovrel {

// --uninstall ID [--keep-settings]: stops the module, deletes its bundle, its
// state entry and (unless kept) its settings, as the store's uninstall does.
HubCommand uninstallCommand();

} // namespace ovrel
