#pragma once

#include "OvrelHub/menu/DynamicMenuSections.h"
#include "OvrelHub/menu/ModuleIcons.h"
#include "OvrelHub/menu/ModuleMenuPresenter.h"
#include "OvrelHub/modules/InstalledPair.h"
#include "OvrelHub/runner/ModuleCommandRef.h"
#include "OvrelHub/shell/EditionSettings.h"
#include "OvrelHub/shell/PendingResults.h"
#include "OvrelHub/update/UpdateRelease.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/tray/StatusMenuModel.h"

#include <QFuture>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <chrono>
#include <functional>
#include <optional>

namespace ovrel {

class HubSettings;
class ModuleStateStore;
class ResidentModuleService;
class ResidentStatusCheck;
class ResidentSwitch;
class ShortcutManager;
class UrlSchemeHandler;
class Workspace;

// Owns what the status menu is drawn from (the module model, the newest hub
// release) and the fixed parts of that menu. Lives on the main thread for the
// whole process.
class HubController : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kOpeningSeparatorId = "opening-separator";

    using InstalledManifests = std::function<QFuture<QList<InstalledPair>>()>;

    struct Collaborators {
        HubSettings& settings;
        Workspace& workspace;
        ModulePaths paths;
        ModuleStateStore* stateStore = nullptr;             // quick-access flags
        InstalledManifests installedManifests = {};         // the module store's query
        std::function<ModuleCommandSending*()> runner = {}; // taken when launch finishes
        ResidentModuleService* resident = nullptr;          // none: agents are not reconciled
        std::function<void()> runModuleUpdater = {};        // with every version check
        UrlSchemeHandler* urlSchemeHandler = nullptr;       // "ovrel-lite:" links; none: ignored
        // For the settings window's background and applications-menu switches;
        // a switch without its services is left out.
        ResidentSwitch* residentSwitch = nullptr;
        ResidentStatusCheck* residentStatus = nullptr;
        ShortcutManager* shortcuts = nullptr;
        // A module's settings were edited in the settings window.
        std::function<void()> moduleSettingsChanged = [] {};
        // How long after the first refresh the launch's background work starts
        // (backgroundLaunchWorkDue): a menu opened right after launch is not
        // slowed by agents starting or the first network check.
        std::chrono::milliseconds backgroundWorkDelay = std::chrono::seconds(1);
    };

    HubController(EditionProvider edition, std::function<void()> onSessionStatusChanged,
                  std::function<void()> onMenuNeedsRebuild, Collaborators collaborators);

    // Takes the "ovrel-lite:" URLs the desktop opens with the hub (handleGetURL).
    void willFinishLaunching();
    // Launch work: takes the runner and refreshes the module model; once that
    // refresh has ended (and the delay passed) the background agents are
    // brought in line with the installed modules and backgroundLaunchWorkDue
    // is emitted.
    void didFinishLaunching();

    // A URL of the hub's scheme: "auth" URLs (the sign-in callback) go to the
    // sign-in handler, others are logged and dropped.
    void handleGetURL(const QUrl& url);
    // Where sign-in callbacks go (the account service's handleCallback); without
    // one they are logged and dropped.
    void setSignInCallbackHandler(std::function<void(const QUrl&)> handler) {
        m_onSignInCallback = std::move(handler);
    }
    // Publishes the host state, re-reads quick access, then rebuilds the
    // module model off the main thread and asks for a menu rebuild.
    void refreshModuleMenu();

    // The status menu is opening: re-insert the published module menus.
    void menuWillOpen(QMenu* menu);
    QMenu* hostedMenu() const { return m_hostedMenu; }

    StatusMenuModel updateBannerItems() const;
    // Also records where dynamic module menus go (dynamicInsertAfter).
    StatusMenuModel platformMenuItems();
    const QString& dynamicInsertAfter() const { return m_dynamicInsertAfter; }
    // The sections running modules publish, as the next opening inserts them.
    StatusMenuModel dynamicMenuItems();

    const ModuleMenuModel& moduleModel() const { return m_model; }
    void setModuleModel(ModuleMenuModel model) {
        m_model = std::move(model);
        ++m_modelGeneration;
    }

    const std::optional<UpdateRelease>& latestRelease() const { return m_latestRelease; }
    void setLatestRelease(const UpdateRelease& release) { m_latestRelease = release; }

    // Menu actions.
    void showWhatsNew();
    void openSettings();
    void openUserGuide();
    void runModuleCommand(const ModuleCommandRef& ref);

    // Windows that other parts of the hub provide, installed as they come.
    void setWhatsNewPresenter(std::function<void(const UpdateRelease&)> present) {
        m_presentWhatsNew = std::move(present);
    }
    void setSettingsOpener(std::function<void(std::shared_ptr<EditionSettings>)> open) {
        m_openSettings = std::move(open);
    }

    const EditionProvider& edition() const { return m_edition; }
    const std::function<void()>& onSessionStatusChanged() const { return m_onSessionStatusChanged; }
    void requestMenuRebuild() const;

    // Quitting: waits for the module work in flight (a refresh's store query
    // and icon loading) and drops its results; no refresh starts after it.
    void terminate();

signals:
    // A refresh applied its model (tests and benchmarks wait for it).
    void moduleModelRefreshed();
    // The start-up reconciliation of background agents has finished.
    void residentAgentsReconciled();
    // Once per launch, after the first refresh: the time for the work the
    // menu does not need (agents, the first version check).
    void backgroundLaunchWorkDue();

private:
    struct BuiltModel {
        QList<ModuleMenuItem> items;
        ModuleIconImages images;
    };
    void applyModel(BuiltModel built, QList<InstalledPair> pairs);
    // Each refresh ends here, applied or failed.
    void refreshEnded();
    // What the menu shows and at which sizes, for the icons a refresh makes.
    IconDemand::Presentation iconPresentation() const;
    void publishHostState();
    // Off the main thread: the agent tools block while they run.
    void reconcileResidentAgents();

    void closeHostedMenu();
    ModuleMenuPresenter presenter(AppLanguage language);

    std::function<void()> m_onMenuNeedsRebuild;
    EditionProvider m_edition;
    std::function<void()> m_onSessionStatusChanged;
    HubSettings& m_settings;
    Workspace& m_workspace;
    ModulePaths m_paths;
    ModuleStateStore* m_stateStore;
    InstalledManifests m_installedManifests;
    std::function<ModuleCommandSending*()> m_runnerSource;
    ModuleCommandSending* m_runner = nullptr;
    ResidentModuleService* m_resident;
    UrlSchemeHandler* m_urlSchemeHandler;
    std::chrono::milliseconds m_backgroundWorkDelay;
    bool m_launchRefreshPending = false;
    std::function<void(const QUrl&)> m_onSignInCallback;

    ModuleMenuModel m_model;
    quint64 m_modelGeneration = 0;
    DynamicMenuSections m_dynamicSections;
    QString m_dynamicInsertAfter;
    QPointer<QMenu> m_hostedMenu;
    std::optional<UpdateRelease> m_latestRelease;

    std::function<void(const UpdateRelease&)> m_presentWhatsNew;
    std::function<void(std::shared_ptr<EditionSettings>)> m_openSettings;
    PendingResults m_pendingResults{this};
};

} // namespace ovrel
