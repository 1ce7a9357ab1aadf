#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/account/ClearDataDeletion.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace ovrel {

class AuthService;
class ServiceClient;
class SessionLostNotifier;
class SessionStore;
class SyncService;

// What the account tab observes and calls, borrowed from the wiring: every
// reference must outlive the settings window.
struct AccountTabServices {
    AuthService& auth;
    SyncService& sync;
    SessionLostNotifier& sessionLost;
    const SessionStore& sessions;
    ServiceClient& client;
    std::function<QString()> apiBase;
    // The edition's own deletable data (none in this edition) and the
    // clearing of statistics kept on this machine.
    QList<EditionAction> extraActions = {};
    std::function<void()> onLocalStatsClear = [] {};
    // The privacy page on the built-in service base, never the override.
    std::function<std::optional<QUrl>(AppLanguage)> privacyPage;
};

} // namespace ovrel
