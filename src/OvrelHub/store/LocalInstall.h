#pragma once

#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QFuture>
#include <QString>
#include <optional>

namespace ovrel {

class ModuleManifest;
class ModuleStateStore;
class ModuleStore;

// The module id a bundle's manifest names; none when the manifest cannot be
// read as a JSON object with a string "id". Validation is the install's job.
std::optional<QString> manifestIdOf(const QString& bundlePath);

// Installs a signed module bundle from disk through the store's normal path
// (signature, manifest, swap), then gives its commands their default shortcuts
// as an install from the store does. Runs on the store's worker; the future
// fails with InstallError.
QFuture<ModuleManifest> installBundleFromDisk(ModuleStore& store, ModuleStateStore& state,
                                              const QString& id, const QString& bundlePath);

// After an install from the store: the module's commands get the default
// shortcuts that nobody else holds and the user never cleared.
void assignDefaultHotkeys(ModuleStateStore& state, const QString& id,
                          const ModuleManifest& installed);

} // namespace ovrel
