#include "OvrelModuleKit/settings/ModuleSettingsSyncPayload.h"

#include "OvrelModuleKit/settings/ModuleSettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace ovrel {

ModuleSettingsPayload ModuleSettingsSyncPayload::snapshot(const ModulePaths& paths) {
    ModuleSettingsPayload payload;
    const QDir dir(paths.settingsDir());
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.suffix() != u"json")
            continue;
        if (std::optional<SettingsMap> values = ModuleSettingsStore::readFile(entry.filePath()))
            payload.insert(entry.completeBaseName(), std::move(*values));
    }
    return payload;
}

QList<QPair<QString, SettingsMap>>
ModuleSettingsSyncPayload::plan(const ModuleSettingsPayload& payload) {
    QList<QPair<QString, SettingsMap>> steps;
    // QMap iterates in ascending key order already.
    for (auto it = payload.cbegin(); it != payload.cend(); ++it) {
        if (ModulePaths::isValidModuleId(it.key()))
            steps.append({it.key(), it.value()});
    }
    return steps;
}

} // namespace ovrel
