#include "OvrelHub/store/ModuleUpdater.h"

#include "OvrelConfig/ModulePlan.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/store/InstallFailureText.h"
#include "OvrelHub/store/ModuleCatalogClient.h"
#include "OvrelHub/store/ModuleStore.h"
#include "Platform/process/Workspace.h"
#include "Platform/system/SystemLog.h"

#include <QCoreApplication>
#include <QPromise>
#include <memory>

namespace ovrel {

namespace {

// One run: the catalog's entries, handled one after another. Each step
// continues on the main thread once the previous install has ended.
class UpdateRun : public std::enable_shared_from_this<UpdateRun> {
public:
    explicit UpdateRun(ModuleUpdater::Collaborators collaborators)
        : m_c(std::move(collaborators)), m_hostVersion(ModuleCatalogClient::hostVersion()) {}

    QFuture<void> start() {
        QFuture<void> future = m_done.future();
        m_done.start();
        const ModulesState state = m_c.state.load();
        if (!state.autoUpdate || state.installed.empty()) {
            m_done.finish();
            return future;
        }
        auto self = shared_from_this();
        m_c.catalog.fetch(m_hostVersion)
            .then(context(),
                  [self](const QList<CatalogEntry>& entries) {
                      self->m_entries = entries;
                      self->next();
                  })
            // Without an argument the handler runs while the failure is current.
            .onFailed(context(), [self] {
                SystemLog::write(QStringLiteral("Ovrel: tải danh mục module thất bại: ") +
                                 InstallFailureText::description(std::current_exception()));
                self->m_done.finish();
            });
        return future;
    }

private:
    static QObject* context() { return QCoreApplication::instance(); }

    void next() {
        while (m_index < m_entries.size()) {
            const CatalogEntry& entry = m_entries.at(m_index++);
            // Installs earlier in this run and the user may have changed it.
            const ModulesState state = m_c.state.load();
            const auto installed = state.installed.find(entry.id);
            if (installed == state.installed.end() || !entry.latest)
                continue;
            const ModuleAction action = ModulePlan::decide(entry, installed->second.version,
                                                           m_hostVersion, m_c.systemVersion());
            const bool running =
                !m_c.workspace.runningApplications(QStringLiteral("vn.ovrel.module.") + entry.id)
                     .empty();
            consider(entry, action, state.autoUpdate, running);
            return;
        }
        m_done.finish();
    }

    // Learns the module's mode from its manifest, then decides.
    void consider(const CatalogEntry& entry, const ModuleAction& action, bool autoUpdate,
                  bool running) {
        auto self = shared_from_this();
        m_c.store.manifest(entry.id)
            .then(context(),
                  [self, entry, action, autoUpdate,
                   running](const std::optional<ModuleManifest>& manifest) {
                      // A manifest that cannot be read counts as not resident.
                      const ModuleMode mode = manifest ? manifest->mode() : ModuleMode::onDemand;
                      const UpdateDecisionForModule decision =
                          ModuleUpdater::decide(action, autoUpdate, running, mode);
                      if (decision.kind() == UpdateDecisionForModule::Kind::installNow)
                          self->install(entry);
                      else
                          self->next();
                  })
            .onFailed(context(), [self] { self->next(); });
    }

    void install(const CatalogEntry& entry) {
        auto self = shared_from_this();
        const QString id = entry.id;
        m_c.store.install(id, *entry.latest, m_c.catalog.downloadURL(id, m_hostVersion))
            .then(context(),
                  [self](const ModuleManifest&) {
                      if (self->m_c.modulesChanged)
                          self->m_c.modulesChanged();
                      else
                          postModulesChanged();
                      self->next();
                  })
            .onFailed(context(), [self, id] {
                SystemLog::write(QStringLiteral("Ovrel: tự cập nhật module ") + id +
                                 QStringLiteral(" thất bại: ") +
                                 InstallFailureText::description(std::current_exception()));
                self->next();
            });
    }

    ModuleUpdater::Collaborators m_c;
    QString m_hostVersion;
    QList<CatalogEntry> m_entries;
    qsizetype m_index = 0;
    QPromise<void> m_done;
};

} // namespace

QFuture<void> ModuleUpdater::run(Collaborators collaborators) {
    return std::make_shared<UpdateRun>(std::move(collaborators))->start();
}

UpdateDecisionForModule ModuleUpdater::decide(const ModuleAction& action, bool autoUpdate,
                                              bool isRunning, ModuleMode mode) {
    if (action.kind() != ModuleAction::Kind::update)
        return UpdateDecisionForModule::skip(
            QStringLiteral("không có bản cập nhật cho module đã cài"));
    if (!autoUpdate)
        return UpdateDecisionForModule::skip(QStringLiteral("người dùng tắt tự cập nhật"));
    if (isRunning && mode != ModuleMode::resident)
        return UpdateDecisionForModule::deferUntilClosed();
    return UpdateDecisionForModule::installNow();
}

} // namespace ovrel
