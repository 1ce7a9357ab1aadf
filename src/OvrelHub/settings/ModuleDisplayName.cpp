#include "OvrelHub/settings/ModuleDisplayName.h"

#include "OvrelHub/menu/ModuleMenuBuilder.h"

namespace ovrel {

QString moduleDisplayName(const QString& id, const ModuleManifest* manifest, AppLanguage language) {
    if (!manifest)
        return id;
    const QString name = localizedText(manifest->name(), language);
    return name.isEmpty() ? id : name;
}

} // namespace ovrel
