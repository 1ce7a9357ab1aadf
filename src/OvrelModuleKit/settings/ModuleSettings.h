#pragma once

#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "OvrelModuleKit/settings/SettingValue.h"

namespace ovrel {

// Turns whatever values are stored into a complete, valid set for a manifest.
class ModuleSettings {
public:
    // Every declared setting mapped to its default.
    static SettingsMap defaults(const ModuleManifest& manifest);

    // Exactly the manifest's keys: a stored value is kept only when it still fits
    // its declaration (same kind, integer in range, option still offered, text
    // not too long), otherwise the default takes its place. Values are never
    // clamped or converted; stored keys no longer declared are dropped.
    static SettingsMap reconcile(const SettingsMap& stored, const ModuleManifest& manifest);
};

} // namespace ovrel
