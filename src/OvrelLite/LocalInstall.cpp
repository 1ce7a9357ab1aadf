#include "OvrelLite/LocalInstall.h"

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/store/ModuleStore.h"
#include "OvrelHub/store/StoreModel.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel {

QString installBundleFromDisk(ModuleStore& store, ModuleStateStore& state,
                              const QString& bundlePath) {
    const QString bundle = QDir(bundlePath).absolutePath();
    const auto data = ModuleManifest::readData(bundle);
    const QJsonObject manifest = data ? QJsonDocument::fromJson(*data).object() : QJsonObject();
    const QString id = manifest.value(QStringLiteral("id")).toString();
    if (id.isEmpty())
        return QStringLiteral("cannot read the manifest of ") + bundle;
    try {
        QFuture<ModuleManifest> installed = store.installLocal(id, bundle);
        installed.waitForFinished();
        const ModuleManifest result = installed.result();
        state.update([&](ModulesState& current) {
            auto entry = current.installed.find(id);
            if (entry == current.installed.end())
                return;
            ModuleHotkeyConflict::ModuleHotkeys others;
            for (const auto& [otherId, module] : current.installed)
                others[otherId] = module.hotkeys;
            entry->second.hotkeys = StoreModel::defaultHotkeyAssignment(
                id, result.menu(), entry->second.hotkeys, entry->second.clearedHotkeys, others,
                HubSettings::reservedHotkeysProvider());
        });
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    // The replaced bundle is removed after the install returned: let that
    // finish before the process ends.
    store.waitUntilIdle();
    return {};
}

} // namespace ovrel
