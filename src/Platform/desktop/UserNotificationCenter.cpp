#include "Platform/desktop/UserNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <QVariantMap>

namespace ovrel {

namespace {

QDBusMessage serverCall(const char* method) {
    return QDBusMessage::createMethodCall(
        QString::fromLatin1(DBusUserNotificationCenter::kService),
        QString::fromLatin1(DBusUserNotificationCenter::kPath),
        QString::fromLatin1(DBusUserNotificationCenter::kInterface), QString::fromLatin1(method));
}

// Servers with the "body-markup" capability read the body as markup.
QString escapedBody(const QString& text) {
    return text.toHtmlEscaped();
}

} // namespace

DBusUserNotificationCenter::DBusUserNotificationCenter(QString applicationName, QObject* parent)
    : QObject(parent), m_applicationName(std::move(applicationName)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    const QString service = QString::fromLatin1(kService);
    const QString path = QString::fromLatin1(kPath);
    const QString interface = QString::fromLatin1(kInterface);
    bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                SLOT(onClosed(uint, uint)));
}

DBusUserNotificationCenter& DBusUserNotificationCenter::shared() {
    // Never destroyed: its bus connection must not be torn down after the
    // application object is gone.
    static auto* center = new DBusUserNotificationCenter();
    return *center;
}

void DBusUserNotificationCenter::requestAuthorization(QObject* context, Answer answer) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QPointer<QObject> guard(context);
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(
            this,
            [guard, answer] {
                if (guard)
                    answer(false);
            },
            Qt::QueuedConnection);
        return;
    }
    auto* watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(serverCall("GetServerInformation")), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [guard, answer](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                if (guard)
                    answer(!call->isError());
            });
}

void DBusUserNotificationCenter::add(const Notification& notification) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = serverCall("Notify");
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("vn.ovrel.lite")}};
    call << m_applicationName << uint(0) << QString() << notification.title
         << escapedBody(notification.body)
         << QStringList{QStringLiteral("default"), notification.title} << hints << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    const QString identifier = notification.identifier;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, identifier](QDBusPendingCallWatcher* pending) {
                pending->deleteLater();
                QDBusPendingReply<uint> reply = *pending;
                if (!reply.isError())
                    m_shown.insert(reply.value(), identifier);
            });
}

void DBusUserNotificationCenter::onActionInvoked(uint id, const QString& actionKey) {
    const auto it = m_shown.constFind(id);
    if (it == m_shown.constEnd() || actionKey != QLatin1String("default"))
        return;
    const QString identifier = *it;
    if (m_activation)
        m_activation(identifier);
}

void DBusUserNotificationCenter::onClosed(uint id, uint) {
    m_shown.remove(id);
}

} // namespace ovrel
