#include "OvrelHub/storepane/StoreOperations.h"

#include "OvrelConfig/ModulePlan.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/shortcuts/ShortcutManager.h"
#include "OvrelHub/store/InstallFailureText.h"
#include "OvrelHub/store/InstallProgress.h"
#include "OvrelHub/store/LocalInstall.h"
#include "OvrelHub/store/ModuleStore.h"
#include "Platform/system/SystemLog.h"

namespace ovrel {

namespace {

void logFailure(const QString& prefix, const QString& id, const QString& suffix,
                const std::exception_ptr& error) {
    SystemLog::write(prefix + id + suffix + InstallFailureText::description(error));
}

} // namespace

StoreOperations::StoreOperations(StoreServices& services, ModuleStateStore& state,
                                 QObject* parent)
    : QObject(parent), m_services(services), m_state(state) {}

void StoreOperations::reload() {
    const quint64 generation = ++m_reloadGeneration;
    const ModulesState first = m_state.load();
    m_installed = first.installed;
    m_autoUpdate = first.autoUpdate;
    if (m_services.shortcuts)
        m_services.shortcuts->reconcileAll();
    emit changed();
    auto current = [this, generation] { return generation == m_reloadGeneration; };
    m_services.store.reconcileInstalled()
        .then(this,
              [this, current] {
                  if (current())
                      m_installed = m_state.load().installed;
                  return m_services.store.installedManifests();
              })
        .unwrap()
        .then(this,
              [this, current](const QList<InstalledPair>& pairs) {
                  if (current()) {
                      m_manifests.clear();
                      for (const InstalledPair& pair : pairs)
                          m_manifests.emplace(pair.module.id, pair.manifest);
                  }
                  return m_services.catalog().fetch(m_services.hostVersion);
              })
        .unwrap()
        .then(this, [this, current](QFuture<QList<CatalogEntry>> fetched) {
            if (!current())
                return;
            try {
                m_catalog = fetched.result();
                m_catalogFailure = nullptr;
            } catch (...) {
                m_catalog.clear();
                m_catalogFailure = std::current_exception();
            }
            m_loaded = true;
            emit changed();
            emit reloaded();
        });
}

QList<CatalogEntry> StoreOperations::displayEntries() const {
    return StoreModel::mergedEntries(m_catalog, m_installed, m_manifests);
}

ModuleAction StoreOperations::plan(const CatalogEntry& entry) const {
    const auto installed = m_installed.find(entry.id);
    const std::optional<QString> version =
        installed == m_installed.end() ? std::nullopt : std::optional(installed->second.version);
    return ModulePlan::decide(entry, version, m_services.hostVersion,
                              m_services.systemVersion ? m_services.systemVersion() : QString());
}

const ModuleManifest* StoreOperations::manifest(const QString& id) const {
    const auto found = m_manifests.find(id);
    return found == m_manifests.end() ? nullptr : &found->second;
}

InstallProgress* StoreOperations::progress(const QString& id) const {
    return m_busy.value(id).data();
}

void StoreOperations::install(const CatalogEntry& entry) {
    const QString id = entry.id;
    if (isBusy(id) || !entry.latest)
        return;
    auto* progress = new InstallProgress(this);
    connect(progress, &InstallProgress::stepChanged, this, [this, id] { emit progressChanged(id); });
    connect(progress, &InstallProgress::downloaded, this, [this, id] { emit progressChanged(id); });
    begin(id, progress);
    const ModuleCatalogClient catalog = m_services.catalog();
    ModuleStateStore& state = m_state;
    m_services.store
        .install(id, *entry.latest, catalog.downloadURL(id, m_services.hostVersion), progress)
        .then([&state, id](const ModuleManifest& manifest) {
            // Still on the store's worker: the state file is not written
            // from the main thread.
            assignDefaultHotkeys(state, id, manifest);
            return manifest;
        })
        .then(this, [this, id, progress](QFuture<ModuleManifest> done) {
            try {
                done.waitForFinished();
                m_alert.reset();
                postModulesChanged();
            } catch (...) {
                if (progress->isCancelled()) {
                    SystemLog::write(QStringLiteral("Ovrel: cài module ") + id +
                                     QStringLiteral(" — người dùng huỷ khi đang tải"));
                } else {
                    logFailure(QStringLiteral("Ovrel: cài module "), id, QStringLiteral(" lỗi: "),
                               std::current_exception());
                    m_failures.insert(id, std::current_exception());
                    raise(Alert::Kind::installFailed, std::current_exception());
                }
            }
            progress->deleteLater();
            end(id);
        });
}

void StoreOperations::cancelInstall(const QString& id) {
    if (InstallProgress* running = progress(id))
        running->cancel();
}

void StoreOperations::uninstall(const QString& id, bool keepSettings) {
    if (isBusy(id))
        return;
    begin(id, nullptr);
    if (m_services.shortcuts)
        m_services.shortcuts->set(false, id, std::nullopt);
    m_services.store.uninstall(id, keepSettings).then(this, [this, id](QFuture<void> done) {
        try {
            done.waitForFinished();
            postModulesChanged();
        } catch (...) {
            logFailure(QStringLiteral("Ovrel: gỡ module "), id, QStringLiteral(" lỗi: "),
                       std::current_exception());
            raise(Alert::Kind::uninstallFailed, std::current_exception());
        }
        end(id);
    });
}

void StoreOperations::installLocal(const QString& bundlePath) {
    const std::optional<QString> id = manifestIdOf(bundlePath);
    if (!id) {
        raise(Alert::Kind::unreadableManifest, nullptr);
        return;
    }
    if (isBusy(*id))
        return;
    begin(*id, nullptr);
    installBundleFromDisk(m_services.store, m_state, *id, bundlePath)
        .then(this, [this, id = *id](QFuture<ModuleManifest> done) {
            try {
                done.waitForFinished();
                m_alert.reset();
                postModulesChanged();
            } catch (...) {
                logFailure(QStringLiteral("Ovrel: cài module "), id,
                           QStringLiteral(" từ file lỗi: "), std::current_exception());
                raise(Alert::Kind::installFailed, std::current_exception());
            }
            end(id);
        });
}

void StoreOperations::setAutoUpdate(bool on) {
    m_state.update([on](ModulesState& state) { state.autoUpdate = on; });
    m_autoUpdate = m_state.load().autoUpdate;
    emit changed();
}

void StoreOperations::dismissAlert() {
    m_alert.reset();
}

void StoreOperations::begin(const QString& id, InstallProgress* progress) {
    m_busy.insert(id, progress);
    m_failures.remove(id);
    emit changed();
}

void StoreOperations::end(const QString& id) {
    m_busy.remove(id);
    emit operationFinished(id);
    reload();
}

void StoreOperations::raise(Alert::Kind kind, std::exception_ptr error) {
    m_alert = Alert{kind, std::move(error)};
    emit alertRaised();
}

} // namespace ovrel
