#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QString>

namespace ovrel {

// What the settings call a module: its manifest's name in the language (with
// the usual fallbacks), or its id when there is no manifest or no name.
QString moduleDisplayName(const QString& id, const ModuleManifest* manifest, AppLanguage language);

} // namespace ovrel
