#include "OvrelHub/account/AccountServices.h"

#include "OvrelHub/account/SessionStore.h"
#include "OvrelHub/account/SyncStateStore.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/ServiceClient.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/desktop/UserNotificationCenter.h"
#include "Platform/process/Workspace.h"

namespace ovrel {

namespace {
QString serviceBase() {
    return HubSettings::shared().apiBaseURL();
}
} // namespace

AccountServices::AccountServices()
    : sessions(SessionStore::shared()), syncState(SyncStateStore::shared()),
      sessionLost(
          {HubSettings::shared().defaults(), sessions, DBusUserNotificationCenter::shared()}),
      auth({HubSettings::shared().defaults(), sessions, ServiceClient::shared(), sessionLost,
            serviceBase, [](const QUrl& url) { return DesktopWorkspace::shared().openURL(url); }}),
      sync(SyncService::hubStreams(ModulePaths::defaultPaths()),
           {syncState, HubSettings::shared().defaults(), sessions, ServiceClient::shared(),
            serviceBase, &auth}) {}

AccountServices& AccountServices::shared() {
    // Never destroyed: answers may still arrive while the process ends.
    static auto* services = new AccountServices();
    return *services;
}

void AccountServices::checkSessionAtLaunch() {
    sessionLost.checkAtLaunch();
    auth.loadSession();
}

void AccountServices::startSync() {
    sync.start();
}

void AccountServices::handleOpenedURL(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (url.isValid())
        auth.handleCallback(url);
}

} // namespace ovrel
