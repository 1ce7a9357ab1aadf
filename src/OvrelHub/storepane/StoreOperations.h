#pragma once

#include "OvrelConfig/CatalogEntry.h"
#include "OvrelConfig/ModuleAction.h"
#include "OvrelHub/store/StoreModel.h"
#include "OvrelHub/storepane/StoreServices.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <exception>
#include <optional>

namespace ovrel {

class InstallProgress;
class ModuleStateStore;

// What the store shows and the work it starts: the catalog as last fetched,
// the installed modules and their manifests, the modules with an install or
// uninstall under way, and what went wrong. Lives as long as the settings
// window, so an install keeps its progress while the user looks at other
// panes. Installs, updates and uninstalls go through the module store (one
// at a time, in order); a module already busy takes no second operation.
// Main thread; borrows its collaborators, which must outlive it.
class StoreOperations : public QObject {
    Q_OBJECT
public:
    // An alert the pane shows with a single "Close" button.
    struct Alert {
        enum class Kind { installFailed, uninstallFailed, unreadableManifest };
        Kind kind = Kind::installFailed;
        std::exception_ptr error;
    };

    StoreOperations(StoreServices& services, ModuleStateStore& state, QObject* parent = nullptr);

    // Reads the modules state (reconciling launchers and the installed list),
    // the installed manifests and the catalog, in that order.
    void reload();
    // Installs or updates to the entry's latest release, then gives the
    // module its default shortcuts.
    void install(const CatalogEntry& entry);
    // Calls an install off while it downloads.
    void cancelInstall(const QString& id);
    // Switches the module's launcher off, then uninstalls.
    void uninstall(const QString& id, bool keepSettings);
    // Installs the bundle at the path under the id its manifest names.
    void installLocal(const QString& bundlePath);
    // Writes "autoUpdate" of the modules state, nothing else.
    void setAutoUpdate(bool on);

    bool isLoaded() const { return m_loaded; }
    const QList<CatalogEntry>& catalog() const { return m_catalog; }
    const StoreModel::Installed& installed() const { return m_installed; }
    const StoreModel::Manifests& manifests() const { return m_manifests; }
    bool autoUpdate() const { return m_autoUpdate; }
    // Why the last catalog fetch failed; null after a successful one.
    std::exception_ptr catalogFailure() const { return m_catalogFailure; }
    // Catalog entries, then installed modules the catalog does not list.
    QList<CatalogEntry> displayEntries() const;
    ModuleAction plan(const CatalogEntry& entry) const;
    const ModuleManifest* manifest(const QString& id) const;

    bool isBusy(const QString& id) const { return m_busy.contains(id); }
    // The install under way for the module; null for an uninstall or none.
    InstallProgress* progress(const QString& id) const;
    // Why the module's last install failed, until it is tried again.
    std::exception_ptr failure(const QString& id) const { return m_failures.value(id); }

    const std::optional<Alert>& alert() const { return m_alert; }
    void dismissAlert();

    StoreServices& services() { return m_services; }

signals:
    void changed();                            // anything shown changed
    void progressChanged(const QString& id);   // an install advanced
    void alertRaised();                        // alert() holds a new alert
    void reloaded();                           // a reload finished
    void operationFinished(const QString& id); // an install or uninstall ended

private:
    void begin(const QString& id, InstallProgress* progress);
    void end(const QString& id);
    void raise(Alert::Kind kind, std::exception_ptr error);

    StoreServices& m_services;
    ModuleStateStore& m_state;
    bool m_loaded = false;
    quint64 m_reloadGeneration = 0;
    QList<CatalogEntry> m_catalog;
    StoreModel::Installed m_installed;
    StoreModel::Manifests m_manifests;
    bool m_autoUpdate = true;
    std::exception_ptr m_catalogFailure;
    QHash<QString, QPointer<InstallProgress>> m_busy;
    QHash<QString, std::exception_ptr> m_failures;
    std::optional<Alert> m_alert;
};

} // namespace ovrel
