#pragma once

#include "OvrelConfig/CatalogEntry.h"
#include "OvrelConfig/ModuleAction.h"

#include <optional>

namespace ovrel {

// Turns a catalog entry and the local situation into one action. Pure.
class ModulePlan {
public:
    // First match wins: no release (incompatible when the catalog says which
    // hub is needed, else not available); a release needing a newer hub; one
    // needing a newer system; installed (update when the release is newer,
    // else up to date); otherwise install.
    static ModuleAction decide(const CatalogEntry& entry,
                               const std::optional<QString>& installedVersion,
                               const QString& hostVersion, const QString& systemVersion);
};

} // namespace ovrel
