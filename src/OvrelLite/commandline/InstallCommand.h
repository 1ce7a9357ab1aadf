#pragma once

#include "OvrelLite/commandline/HubCommand.h"

namespace ovrel {

// --install BUNDLE...: installs signed bundles from disk one after another,
// as the store's install from file does; one line per bundle installed, the
// store's failure text for each one that was not.
HubCommand installCommand();

} // namespace ovrel
