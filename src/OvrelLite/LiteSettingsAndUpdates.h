#pragma once

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/accountpane/AccountTabServices.h"
#include "OvrelHub/settings/SettingsServices.h"
#include "OvrelHub/storepane/StoreServices.h"
#include "OvrelHub/settings/SettingsWindowController.h"
#include "OvrelHub/shell/HubController.h"
#include "OvrelHub/shell/PendingResults.h"
#include "OvrelHub/update/VersionChecker.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"

#include "OvrelHub/shell/ServiceRequest.h"
#include <QObject>
#include <memory>

namespace ovrel {

class AccountServices;
class AppModules;

// This edition's settings window and self-update, wired to the hub: the
// "Settings…" item and Ctrl+, in any of the hub's windows open the window,
// the update banner and a click on the update notification open What's New,
// and once launch finishes the version checker runs at once and every 24
// hours, each check also running the module auto-updater. Main thread; lives
// as long as the hub.
class LiteSettingsAndUpdates : public QObject {
    Q_OBJECT
public:
    LiteSettingsAndUpdates(HubController& hub, const HubController::Collaborators& collaborators,
                           QObject* parent = nullptr);

    // Lets a click on an old update notification find the hub's newest release.
    void registerForUpdateNotifications();
    // Creates and starts the version checker.
    void startVersionChecker();
    // For quitting: waits for work started on other threads and delivers no
    // more of it.
    void terminate();

    // Gives the window its store pane over the module services.
    void attachStore(AppModules& modules);
    // Gives the window its account tab; a click on the notification of a
    // lost session opens the window there.
    void attachAccount(AccountServices& account);

    // Opens the settings window at a route named on the command line:
    // "general", "store", "store/<id>" (the module's store page),
    // "permissions", "account" or "module/<id>". False for
    // anything else.
    bool openSettings(const QString& route);
    // Asks the feed once and shows What's New for a newer release, if any.
    void showWhatsNewOfFeed();

    SettingsWindowController& settingsWindow() { return m_settingsWindow; }
    VersionChecker* versionChecker() const { return m_versionChecker; }

private:
    HubController& m_hub;
    std::function<void()> m_runModuleUpdater;
    ServiceNetwork m_network;
    ModuleSettingsStore m_moduleSettings;
    std::unique_ptr<ModuleStateStore> m_ownState; // when the hub was given none
    SettingsServices m_services;
    SettingsWindowController m_settingsWindow;
    VersionChecker* m_versionChecker = nullptr;
    std::unique_ptr<StoreServices> m_store;
    std::unique_ptr<AccountTabServices> m_account;
    PendingResults m_pendingResults{this};
};

} // namespace ovrel
