#include "OvrelModuleKit/settings/ModuleSettings.h"

namespace ovrel {

SettingsMap ModuleSettings::defaults(const ModuleManifest& manifest) {
    SettingsMap result;
    for (const SettingSpec& spec : manifest.settings())
        result.insert(spec.key(), spec.defaultValue());
    return result;
}

SettingsMap ModuleSettings::reconcile(const SettingsMap& stored, const ModuleManifest& manifest) {
    SettingsMap result;
    for (const SettingSpec& spec : manifest.settings()) {
        const auto it = stored.constFind(spec.key());
        const bool keep = it != stored.cend() && spec.accepts(*it);
        result.insert(spec.key(), keep ? *it : spec.defaultValue());
    }
    return result;
}

} // namespace ovrel
