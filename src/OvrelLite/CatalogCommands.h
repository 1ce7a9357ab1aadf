#pragma once

#include <QString>

namespace ovrel {

class AppModules;

// The command line's view of the online catalog, run in this process with
// its own event loop (the hub's command-line hand-over carries them to a
// running hub once it has one). Both print to stdout / stderr and return the
// process's exit status.
namespace CatalogCommands {

// `--catalog`: one line per entry: id, latest version, the planned action
// (install, update, up to date, incompatible, not available) and its name.
int printCatalog(AppModules& modules);

// `--install-from-catalog ID`: installs or updates the module to the
// catalog's latest release through the store, gives a first install its
// default shortcuts and announces the change. Status 0 also when the module
// is already up to date; failures print the reason the store would show.
int installFromCatalog(AppModules& modules, const QString& id);

} // namespace CatalogCommands

} // namespace ovrel
