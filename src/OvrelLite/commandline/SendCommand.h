#pragma once

#include "OvrelLite/commandline/HubCommand.h"

namespace ovrel {

// --send ID COMMAND [ARGUMENT]: hands a command to a module as its menu item
// would (the module is started, or notified when it runs).
HubCommand sendCommand();

} // namespace ovrel
