#pragma once

#include "OvrelConfig/SessionLostReason.h"

#include <QObject>
#include <functional>
#include <optional>

namespace ovrel {

class SessionStore;
class UserDefaults;
class UserNotificationCenter;

// Tells the user once, through a desktop notification, that they must sign in
// again and why; keeps the reason ("sessionLostReason") until it is dismissed
// or the user signs in, across restarts. Main thread only; borrows its
// collaborators, which must outlive it.
class SessionLostNotifier : public QObject {
    Q_OBJECT
public:
    struct Collaborators {
        UserDefaults& defaults;
        const SessionStore& sessions;
        UserNotificationCenter& notifications;
    };

    // Every notification of a lost session is posted under an identifier
    // starting with this; the notification centre may be shared.
    static constexpr const char* kIdentifierPrefix = "ovrel.session.";

    explicit SessionLostNotifier(Collaborators collaborators, QObject* parent = nullptr);

    // Installed by the hub controller to refresh the tray; does nothing by default.
    static std::function<void()>& onStatusChanged();

    std::optional<SessionLostReason> reason() const { return m_reason; }

    // Once at launch, before the stored session is loaded: shows a reason kept
    // from an earlier run again (without notifying), then reports a session
    // lost since (the secret gone or unreadable while marked signed in).
    void checkAtLaunch();
    void report(SessionLostReason reason);
    void clear();

    // The reason's text in the current interface language.
    static QString body(SessionLostReason reason);

signals:
    void reasonChanged();
    // The user clicked the notification: the account tab should show.
    void notificationClicked();

private:
    void setReason(std::optional<SessionLostReason> reason);
    void notifyOnce(SessionLostReason reason);

    UserDefaults& m_defaults;
    const SessionStore& m_sessions;
    UserNotificationCenter& m_notifications;
    std::optional<SessionLostReason> m_reason;
};

} // namespace ovrel
