#pragma once

#include "OvrelHub/modules/InstalledModule.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

namespace ovrel {

// An installed module's record with the manifest loaded from its bundle.
struct InstalledPair {
    InstalledModule module;
    ModuleManifest manifest;
};

} // namespace ovrel
