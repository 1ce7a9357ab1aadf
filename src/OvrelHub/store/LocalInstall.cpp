#include "OvrelHub/store/LocalInstall.h"

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/store/ModuleStore.h"
#include "OvrelHub/store/StoreModel.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel {

std::optional<QString> manifestIdOf(const QString& bundlePath) {
    const auto data = ModuleManifest::readData(bundlePath);
    if (!data)
        return std::nullopt;
    const QJsonValue id = QJsonDocument::fromJson(*data).object().value(QStringLiteral("id"));
    if (!id.isString() || id.toString().isEmpty())
        return std::nullopt;
    return id.toString();
}

QFuture<ModuleManifest> installBundleFromDisk(ModuleStore& store, ModuleStateStore& state,
                                              const QString& id, const QString& bundlePath) {
    // The shortcut step runs where the install finished, off the main thread.
    return store.installLocal(id, bundlePath).then([&state, id](const ModuleManifest& installed) {
        assignDefaultHotkeys(state, id, installed);
        return installed;
    });
}

void assignDefaultHotkeys(ModuleStateStore& state, const QString& id,
                          const ModuleManifest& installed) {
    state.update([&](ModulesState& current) {
        auto entry = current.installed.find(id);
        if (entry == current.installed.end())
            return;
        ModuleHotkeyConflict::ModuleHotkeys others;
        for (const auto& [otherId, module] : current.installed)
            others[otherId] = module.hotkeys;
        entry->second.hotkeys = StoreModel::defaultHotkeyAssignment(
            id, installed.menu(), entry->second.hotkeys, entry->second.clearedHotkeys, others,
            HubSettings::reservedHotkeysProvider());
    });
}

} // namespace ovrel
