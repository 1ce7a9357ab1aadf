#include "OvrelHub/account/SessionLostNotifier.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelConfig/Loc.h"
#include "OvrelHub/account/AccountDefaults.h"
#include "OvrelHub/account/SessionLoss.h"
#include "OvrelHub/account/SessionStore.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/Trace.h"
#include "Platform/desktop/UserNotificationCenter.h"
#include "Platform/files/FileError.h"
#include "Platform/plist/UserDefaults.h"
#include "Platform/system/SystemLog.h"

#include <QPointer>
#include <QUuid>

namespace ovrel {

namespace {
QString key(const char* k) {
    return QString::fromLatin1(k);
}
} // namespace

SessionLostNotifier::SessionLostNotifier(Collaborators collaborators, QObject* parent)
    : QObject(parent), m_defaults(collaborators.defaults), m_sessions(collaborators.sessions),
      m_notifications(collaborators.notifications) {
    connect(&m_notifications, &UserNotificationCenter::activated, this,
            [this](const QString& identifier) {
                if (identifier.startsWith(QString::fromLatin1(kIdentifierPrefix)))
                    emit notificationClicked();
            });
}

std::function<void()>& SessionLostNotifier::onStatusChanged() {
    static std::function<void()> hook = [] {};
    return hook;
}

void SessionLostNotifier::setReason(std::optional<SessionLostReason> reason) {
    m_reason = reason;
    emit reasonChanged();
    if (onStatusChanged())
        onStatusChanged()();
}

void SessionLostNotifier::checkAtLaunch() {
    if (const auto raw = m_defaults.string(key(AccountDefaults::kSessionLostReason))) {
        if (const auto stored = SessionLostReasons::fromRawValue(*raw))
            setReason(stored);
    }
    const bool loggedIn = m_defaults.boolValue(key(AccountDefaults::kIsLoggedIn)).value_or(false);
    if (const auto lost = SessionLoss::reason(loggedIn, m_sessions.state().kind()))
        report(*lost);
}

void SessionLostNotifier::report(SessionLostReason reason) {
    const QString raw = SessionLostReasons::rawValue(reason);
    m_reason = reason;
    emit reasonChanged();
    HubSettings::store(m_defaults, {{key(AccountDefaults::kSessionLostReason), raw},
                                    {key(AccountDefaults::kIsLoggedIn), false}});
    Trace::force(QStringLiteral("mất phiên đăng nhập: ") + raw);
    if (onStatusChanged())
        onStatusChanged()();
    if (!m_defaults.boolValue(key(AccountDefaults::kSessionLostNotified)).value_or(false))
        notifyOnce(reason);
}

void SessionLostNotifier::notifyOnce(SessionLostReason reason) {
    HubSettings::store(m_defaults, {{key(AccountDefaults::kSessionLostNotified), true}});
    const QString raw = SessionLostReasons::rawValue(reason);
    UserNotificationCenter& center = m_notifications;
    QPointer<SessionLostNotifier> self(this);
    m_notifications.requestAuthorization([self, &center, reason, raw](bool granted) {
        if (!self || !granted)
            return;
        const AppLanguage language = HubLanguage::current();
        center.add({QString::fromLatin1(kIdentifierPrefix) + raw + QLatin1Char('.') +
                        QUuid::createUuid().toString(QUuid::WithoutBraces),
                    Loc::t(LocKey::sessionLostTitle, language), body(reason)});
    });
}

void SessionLostNotifier::clear() {
    try {
        m_defaults.remove(key(AccountDefaults::kSessionLostReason));
    } catch (const FileError& e) {
        SystemLog::write(QStringLiteral("Ovrel: không ghi được cài đặt sessionLostReason: ") +
                         e.description());
    }
    HubSettings::store(m_defaults, {{key(AccountDefaults::kSessionLostNotified), false}});
    setReason(std::nullopt);
}

QString SessionLostNotifier::body(SessionLostReason reason) {
    return Loc::t(SessionLostReasons::textKey(reason), HubLanguage::current());
}

} // namespace ovrel
