#include "BreakNotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QStringList>
#include <QVariantMap>

namespace ovrel::pulse::BreakNotification {

void show(const QString& title, const QString& body, const QString& iconPath) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("Pulse") << quint32(0) << iconPath << title << body << QStringList()
         << QVariantMap() << qint32(-1);
    // Fire and forget: a reminder that cannot be shown must not hold anything up.
    QDBusConnection::sessionBus().asyncCall(call);
}

} // namespace ovrel::pulse::BreakNotification
