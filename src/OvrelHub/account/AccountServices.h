#pragma once

#include "OvrelHub/account/AuthService.h"
#include "OvrelHub/account/SessionLostNotifier.h"
#include "OvrelHub/account/SyncService.h"

namespace ovrel {

class SessionStore;
class SyncStateStore;

// The hub's account, session and sync services over the shared stores, the
// hub's preferences, the desktop's browser and notifications and the hub's
// service client; created together on first use, never destroyed. Main
// thread only.
class AccountServices {
public:
    static AccountServices& shared();

    // Launch, once the status item exists: shows or reports a lost session,
    // then loads the stored one.
    void checkSessionAtLaunch();
    // Launch, last step.
    void startSync();
    // A URL handed to the running hub by the desktop (a second start with the
    // URL as argument): text that is no URL is ignored; the rest goes to
    // AuthService::handleCallback, which takes only sign-ins it started.
    void handleOpenedURL(const QString& text);

    SessionStore& sessions;
    SyncStateStore& syncState;
    SessionLostNotifier sessionLost;
    AuthService auth;
    SyncService sync;

private:
    AccountServices();
};

} // namespace ovrel
