#include "OvrelHub/store/InstallCompletion.h"

#include "OvrelConfig/VersionComparator.h"
#include "OvrelHub/modules/AppName.h"
#include "OvrelHub/store/InstallError.h"
#include "Platform/system/CrashPoint.h"
#include "Platform/system/HostOS.h"
#include "Platform/system/SystemLog.h"

#include <QDir>
#include <QFileInfo>

namespace ovrel {

InstallCompletion::InstallCompletion(Collaborators collaborators)
    : m_state(collaborators.state), m_verifier(collaborators.verifier),
      m_resident(collaborators.resident), m_systemVersion(std::move(collaborators.systemVersion)),
      m_swap(collaborators.state.paths(), std::move(collaborators.moveBundle),
             collaborators.replaced) {}

SystemVersionSource InstallCompletion::defaultSystemVersion() {
    return [] { return HostOS::currentVersion(); };
}

ModuleManifest InstallCompletion::complete(const QString& id, const QString& bundle,
                                           const std::optional<QString>& version) const {
    if (!ModulePaths::isValidModuleId(id))
        throw InstallError::invalidId();
    const ModuleManifest manifest = checkedManifest(id, bundle);
    // The name becomes a path under Modules/<id>/ and is stored as appName.
    const QString appName = QFileInfo(QDir::cleanPath(bundle)).fileName();
    if (!AppName::isValid(appName))
        throw InstallError::installFailed();
    const PendingInstall pending{id, appName, version.value_or(manifest.version()),
                                 manifest.quickAccessDefault()};
    m_swap.swapIn(id, bundle, &pending);
    record(pending);
    CrashPoint::reach("complete.recorded");
    PendingInstall::remove(m_state.paths(), id);
    registerIfResident(id, appName, manifest);
    return manifest;
}

ModuleManifest InstallCompletion::checkedManifest(const QString& id, const QString& bundle) const {
    try {
        m_verifier.verify(bundle, id);
    } catch (...) {
        throw InstallError::signatureRejected();
    }
    const std::optional<QByteArray> data = ModuleManifest::readData(bundle);
    if (!data)
        throw InstallError::badManifest(ManifestError(ManifestError::Kind::invalidJSON));
    std::optional<ModuleManifest> manifest;
    try {
        manifest = ModuleManifest::load(*data, id);
    } catch (const ManifestError& error) {
        throw InstallError::badManifest(error);
    }
    const std::optional<QString>& minimum = manifest->minMacOS();
    if (minimum && VersionComparator::isNewer(*minimum, m_systemVersion()))
        throw InstallError::macOSTooOld(*minimum);
    return std::move(*manifest);
}

void InstallCompletion::record(const PendingInstall& pending) const {
    m_state.withLock([&](const ModuleStateStore::Locked& locked) {
        ModulesState state = locked.read();
        pending.applyTo(state);
        locked.writeLocked(state);
    });
}

void InstallCompletion::registerIfResident(const QString& id, const QString& appName,
                                           const ModuleManifest& manifest) const {
    if (manifest.mode() != ModuleMode::resident || !m_resident)
        return;
    // The user may have switched background running off for this module.
    const ModulesState state = m_state.load();
    const auto entry = state.installed.find(id);
    if (entry != state.installed.end() && !entry->second.residentEnabled)
        return;
    QString reason;
    try {
        m_resident->registerModule(id, m_state.paths().bundle(id, appName));
        return;
    } catch (const std::exception& error) {
        reason = QString::fromUtf8(error.what());
    } catch (...) {
        reason = QStringLiteral("unknown error");
    }
    SystemLog::write(QStringLiteral("Ovrel: cài module ") + id +
                     QStringLiteral(" xong nhưng không đăng ký được agent chạy nền: ") + reason);
}

} // namespace ovrel
