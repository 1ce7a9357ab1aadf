#pragma once

#include "OvrelHub/account/AuthUser.h"
#include "OvrelHub/account/SignInAttempts.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace ovrel {

class ServiceClient;
class SessionLostNotifier;
class SessionStore;
class UserDefaults;

// The optional sign-in: opens the service's login page for a provider in the
// browser, takes the callback URL the browser is sent back with, exchanges its
// one-time code for a token (kept by SessionStore) and the profile, refreshes
// the profile and signs out. Whenever the user changes, "isLoggedIn" is
// written. A network outage never signs the user out; only the service's 401
// to the profile request does, reporting the session as revoked.
//
// Main thread only; borrows its collaborators, which must outlive it.
// Answers arriving after it is destroyed are dropped.
class AuthService : public QObject {
    Q_OBJECT
public:
    struct Collaborators {
        UserDefaults& defaults;
        SessionStore& sessions;
        ServiceClient& client;
        SessionLostNotifier& sessionLost;
        std::function<QString()> apiBase;             // "apiBaseURL" or the built-in base
        std::function<bool(const QUrl&)> openBrowser; // the default web browser
        SignInAttempts::Clock clock = {};
    };

    explicit AuthService(Collaborators collaborators, QObject* parent = nullptr);

    static bool isKnownProvider(const QString& provider); // "google", "discord"

    const std::optional<AuthUser>& currentUser() const { return m_currentUser; }
    const std::optional<QString>& errorMessage() const { return m_errorMessage; }
    bool isBusy() const { return m_busy; }

    QString currentAPIBase() const { return m_apiBase(); }

    // Opens base/api/auth/<provider>/start?state=<new attempt> in the browser.
    void startLogin(const QString& provider);
    // Any URL handed to the hub (ovrel-lite://auth?...); see SignInAttempts.
    void handleCallback(const QUrl& url);
    // At launch: fetches the profile when a token is stored.
    void loadSession();
    void me();
    void logout();

signals:
    // Emitted on every assignment, also when the user stays the same (a
    // profile refresh), so observers can act on each confirmation.
    void currentUserSet();
    void errorMessageChanged();
    void busyChanged();

private:
    void setCurrentUser(std::optional<AuthUser> user);
    void setErrorMessage(std::optional<QString> message);
    void setBusy(bool busy);
    void exchange(const QString& code);
    bool acceptsCallback(const QString& state);

    UserDefaults& m_defaults;
    SessionStore& m_sessions;
    ServiceClient& m_client;
    SessionLostNotifier& m_sessionLost;
    std::function<QString()> m_apiBase;
    std::function<bool(const QUrl&)> m_openBrowser;
    SignInAttempts m_attempts;

    std::optional<AuthUser> m_currentUser;
    std::optional<QString> m_errorMessage;
    bool m_busy = false;
};

} // namespace ovrel
