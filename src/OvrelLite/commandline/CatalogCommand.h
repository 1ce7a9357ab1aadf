#pragma once

#include "OvrelLite/commandline/HubCommand.h"

namespace ovrel {

// "--catalog": the online catalog with the planned action per entry.
HubCommand catalogCommand();
// "--install-from-catalog ID": installs or updates a module from the catalog.
HubCommand installFromCatalogCommand();

} // namespace ovrel
