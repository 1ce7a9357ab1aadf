#pragma once

#include <QString>

namespace ovrel {

class ModuleManifest;
class ModuleStateStore;
class ModuleStore;

// Installs a signed module bundle from disk through the store's normal path
// (signature, manifest, swap), then gives its commands their default shortcuts
// as an install from the store does. The id is read from the bundle's manifest.
// Returns an empty string on success, else what went wrong.
QString installBundleFromDisk(ModuleStore& store, ModuleStateStore& state,
                              const QString& bundlePath);

// After an install from the store: the module's commands get the default
// shortcuts that nobody else holds and the user never cleared.
void assignDefaultHotkeys(ModuleStateStore& state, const QString& id,
                          const ModuleManifest& installed);

} // namespace ovrel
