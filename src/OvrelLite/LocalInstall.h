#pragma once

#include <QString>

namespace ovrel {

class ModuleStore;

// Installs a signed module bundle from disk through the store's normal path
// (signature, manifest, swap). The id is read from the bundle's manifest.
// Returns an empty string on success, else what went wrong.
QString installBundleFromDisk(ModuleStore& store, const QString& bundlePath);

} // namespace ovrel
