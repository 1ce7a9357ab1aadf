#include "OvrelLite/LiteSettingsAndUpdates.h"

#include "OvrelHub/account/AccountServices.h"
#include "OvrelHub/account/SessionStore.h"
#include "OvrelHub/modules/AppModules.h"
#include "OvrelHub/settings/SettingsShortcut.h"
#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/ServiceClient.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "OvrelHub/shortcuts/ShortcutManager.h"
#include "Platform/system/HostOS.h"
#include "OvrelHub/update/UpdateNotifier.h"
#include "OvrelHub/update/WhatsNewWindowController.h"
#include "Platform/desktop/LoginItem.h"
#include "Platform/notify/NotificationCenter.h"
#include "Platform/system/TlsBackend.h"

#include <QFileDialog>
#include <QPointer>

namespace ovrel {

namespace {
void showWhatsNew(const UpdateRelease& release) {
    WhatsNewWindowController::shared().show(release);
}
} // namespace

LiteSettingsAndUpdates::LiteSettingsAndUpdates(HubController& hub,
                                               const HubController::Collaborators& collaborators,
                                               QObject* parent)
    : QObject(parent), m_hub(hub), m_runModuleUpdater(collaborators.runModuleUpdater),
      m_moduleSettings(collaborators.paths),
      m_ownState(collaborators.stateStore
                     ? nullptr
                     : std::make_unique<ModuleStateStore>(collaborators.paths)),
      m_services{collaborators.settings,
                 NotificationCenter::defaultCenter(),
                 collaborators.workspace,
                 collaborators.stateStore ? *collaborators.stateStore : *m_ownState,
                 m_moduleSettings,
                 XdgAutostartLoginItem::shared(),
                 collaborators.installedManifests,
                 collaborators.runner,
                 [this](QObject* owner) {
                     return new VersionChecker({},
                                               {m_network, VersionChecker::hubFeedAddress(),
                                                BuildIdentity::shortVersion()},
                                               owner);
                 },
                 &showWhatsNew,
                 collaborators.moduleSettingsChanged,
                 collaborators.residentSwitch,
                 collaborators.residentStatus,
                 collaborators.shortcuts,
                 BuildIdentity::shortVersion()},
      m_settingsWindow(m_services) {
    hub.setSettingsOpener([this](std::shared_ptr<EditionSettings> edition) {
        m_settingsWindow.show(std::move(edition));
    });
    hub.setWhatsNewPresenter(&showWhatsNew);
    new SettingsShortcut([&hub] { hub.openSettings(); },
                         [this]() -> QWidget* { return m_settingsWindow.window(); }, this);
}

void LiteSettingsAndUpdates::attachStore(AppModules& modules) {
    m_store = std::make_unique<StoreServices>(StoreServices{
        modules.store,
        [&modules] {
            // The base as it stands now: the catalog follows a changed override.
            return ModuleCatalogClient(AppModules::apiBase(),
                                       [] { return SessionStore::shared().token(); },
                                       modules.network);
        },
        &ShortcutManager::shared(),
        ModuleCatalogClient::hostVersion(),
        [] { return HostOS::currentVersion(); },
        [this] {
            return m_services.settings.defaults()
                .boolValue(QStringLiteral("devLocalInstall"))
                .value_or(false);
        },
        [](QWidget* parent) -> std::optional<QString> {
            // Bundles are folders here: the picker chooses a directory.
            const QString picked = QFileDialog::getExistingDirectory(parent);
            return picked.isEmpty() ? std::nullopt : std::optional(picked);
        }});
    m_services.store = m_store.get();
    m_services.imageNetwork = &m_network;
}

void LiteSettingsAndUpdates::attachAccount(AccountServices& account) {
    m_account = std::make_unique<AccountTabServices>(AccountTabServices{
        account.auth,
        account.sync,
        account.sessionLost,
        account.sessions,
        ServiceClient::shared(),
        [] { return HubSettings::shared().apiBaseURL(); },
        {},
        [] {},
        &ServiceEndpoints::privacyPage});
    m_services.account = m_account.get();
    m_services.imageNetwork = &m_network;
    connect(&account.sessionLost, &SessionLostNotifier::notificationClicked, this,
            [this] { openSettings(QStringLiteral("account")); });
}

void LiteSettingsAndUpdates::registerForUpdateNotifications() {
    QPointer<HubController> hub(&m_hub);
    UpdateNotifier::shared().setLatestReleaseFallback([hub]() -> std::optional<UpdateRelease> {
        return hub ? hub->latestRelease() : std::nullopt;
    });
}

void LiteSettingsAndUpdates::startVersionChecker() {
    if (m_versionChecker)
        return;
    QPointer<HubController> hub(&m_hub);
    m_versionChecker = new VersionChecker(
        [hub](const UpdateRelease& release) {
            if (!hub)
                return;
            hub->setLatestRelease(release);
            hub->requestMenuRebuild();
            UpdateNotifier::shared().notify(release);
        },
        {m_network, VersionChecker::hubFeedAddress(), BuildIdentity::shortVersion()}, this);
    // The first check still goes out at launch, once the TLS library is
    // loaded off the main thread: loading it there would hold up the menu.
    m_pendingResults.deliver(TlsBackend::loadInBackground(), [this](const QFuture<void>&) {
        m_versionChecker->start(m_runModuleUpdater);
    });
}

void LiteSettingsAndUpdates::terminate() {
    m_pendingResults.finish();
}

} // namespace ovrel

namespace ovrel {

bool LiteSettingsAndUpdates::openSettings(const QString& route) {
    static const QString modulePrefix = QStringLiteral("module/");
    static const QString storePrefix = QStringLiteral("store/");
    std::optional<SettingsRoute> chosen;
    if (route == QLatin1String("general"))
        chosen = SettingsRoute::general();
    else if (route == QLatin1String("store"))
        chosen = SettingsRoute::store();
    else if (route.startsWith(storePrefix) && route.size() > storePrefix.size())
        chosen = SettingsRoute::store(StorePage::detail(route.mid(storePrefix.size())));
    else if (route == QLatin1String("permissions"))
        chosen = SettingsRoute::permissions();
    else if (route == QLatin1String("account"))
        chosen = SettingsRoute::account();
    else if (route.startsWith(modulePrefix) && route.size() > modulePrefix.size())
        chosen = SettingsRoute::module(route.mid(modulePrefix.size()));
    if (!chosen)
        return false;
    m_settingsWindow.show(m_hub.edition() ? m_hub.edition()() : nullptr, *chosen);
    return true;
}

void LiteSettingsAndUpdates::showWhatsNewOfFeed() {
    VersionChecker* checker = m_services.makeVersionChecker(this);
    checker->check([checker](const CheckResult& result) {
        checker->deleteLater();
        if (result.release)
            showWhatsNew(*result.release);
    });
}

} // namespace ovrel
