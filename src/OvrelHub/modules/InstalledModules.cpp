#include "OvrelHub/modules/InstalledModules.h"

#include "OvrelHub/modules/AppName.h"
#include "Platform/system/SystemLog.h"

#include <QFileInfo>

namespace ovrel {

bool InstalledModules::namesUsablePath(const QString& id, const InstalledModule& entry) {
    return ModulePaths::isValidModuleId(id) && AppName::isValid(entry.appName);
}

std::optional<ModuleManifest> InstalledModules::manifest(const QString& id) const {
    const ModulesState state = m_state.load();
    const auto it = state.installed.find(id);
    if (it == state.installed.end())
        return std::nullopt;
    return manifest(id, it->second);
}

std::optional<ModuleManifest> InstalledModules::manifest(const QString& id,
                                                         const InstalledModule& entry) const {
    if (!namesUsablePath(id, entry)) {
        SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                         QStringLiteral(" có id hoặc appName không hợp lệ trong "
                                        "modules-state.json — bỏ qua"));
        return std::nullopt;
    }
    const QString bundle = m_state.paths().bundle(id, entry.appName);
    const std::optional<QByteArray> data = ModuleManifest::readData(bundle);
    if (!data) {
        SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                         QStringLiteral(" (state ghi version ") + entry.version +
                         QStringLiteral(") không đọc được manifest tại ") +
                         ModulePaths::manifestFile(bundle) +
                         QStringLiteral(" — bundle có thể đã bị xoá hoặc hỏng"));
        return std::nullopt;
    }
    try {
        return ModuleManifest::load(*data, id);
    } catch (const ManifestError& error) {
        SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                         QStringLiteral(" có manifest nhưng không hợp lệ: ") + error.description());
        return std::nullopt;
    }
}

QList<InstalledPair> InstalledModules::installedManifests() const {
    const ModulesState state = m_state.load();
    QList<InstalledPair> pairs;
    // The map is ordered by its keys, the module ids; lookups go by key, so a
    // record whose own "id" disagrees is reported under its key.
    for (const auto& [id, entry] : state.installed) {
        if (std::optional<ModuleManifest> loaded = manifest(id, entry)) {
            InstalledPair pair{entry, std::move(*loaded)};
            pair.module.id = id;
            pairs.append(std::move(pair));
        }
    }
    return pairs;
}

void InstalledModules::reconcileInstalled() const {
    const ModulesState state = m_state.load();
    QStringList gone;
    for (const auto& [id, entry] : state.installed) {
        if (!namesUsablePath(id, entry)) {
            SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                             QStringLiteral(" có trong modules-state.json nhưng id hoặc appName "
                                            "không hợp lệ — bỏ khỏi trạng thái đã cài (giữ "
                                            "nguyên ModuleSettings)"));
            gone.append(id);
        } else if (!QFileInfo::exists(m_state.paths().bundle(id, entry.appName))) {
            SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                             QStringLiteral(" có trong modules-state.json nhưng thư mục bundle "
                                            "không còn trên đĩa — bỏ khỏi trạng thái đã cài (giữ "
                                            "nguyên ModuleSettings)"));
            gone.append(id);
        }
    }
    if (gone.isEmpty())
        return;
    m_state.withLock([&](const ModuleStateStore::Locked& locked) {
        ModulesState current = locked.read();
        for (const QString& id : gone)
            current.installed.erase(id);
        locked.writeLocked(current);
    });
}

} // namespace ovrel
