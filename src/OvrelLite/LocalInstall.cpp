#include "OvrelLite/LocalInstall.h"

#include "OvrelHub/store/ModuleStore.h"
#include "OvrelModuleKit/ModuleManifest.h"
#include "OvrelModuleKit/ModulePaths.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel {

QString installBundleFromDisk(ModuleStore& store, const QString& bundlePath) {
    const QString bundle = QDir(bundlePath).absolutePath();
    const auto data = ModuleManifest::readData(bundle);
    const QJsonObject manifest = data ? QJsonDocument::fromJson(*data).object() : QJsonObject();
    const QString id = manifest.value(QStringLiteral("id")).toString();
    if (id.isEmpty())
        return QStringLiteral("cannot read the manifest of ") + bundle;
    try {
        store.installLocal(id, bundle).waitForFinished();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace ovrel
