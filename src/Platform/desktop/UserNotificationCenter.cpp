#include "Platform/desktop/UserNotificationCenter.h"

#include "Platform/system/SystemLog.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace ovrel {

namespace {

QDBusMessage notificationsCall(const char* member) {
    return QDBusMessage::createMethodCall(
        QString::fromLatin1(FreedesktopNotificationCenter::kService),
        QString::fromLatin1(FreedesktopNotificationCenter::kPath),
        QString::fromLatin1(FreedesktopNotificationCenter::kInterface),
        QString::fromLatin1(member));
}

// The server's own timeout applies.
constexpr int kServerDefaultExpiry = -1;

} // namespace

FreedesktopNotificationCenter::FreedesktopNotificationCenter(QString appName, QObject* parent)
    : UserNotificationCenter(parent), m_appName(std::move(appName)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    const QString service = QString::fromLatin1(kService);
    const QString path = QString::fromLatin1(kPath);
    const QString interface = QString::fromLatin1(kInterface);
    bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                SLOT(onNotificationClosed(uint, uint)));
}

FreedesktopNotificationCenter& FreedesktopNotificationCenter::shared() {
    static auto* center = new FreedesktopNotificationCenter(QStringLiteral("Ovrel"));
    return *center;
}

void FreedesktopNotificationCenter::requestAuthorization(
    std::function<void(bool granted)> completion) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [completion = std::move(completion)] { completion(false); },
            Qt::QueuedConnection);
        return;
    }
    auto* watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(notificationsCall("GetServerInformation")), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [completion = std::move(completion)](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                completion(!call->isError());
            });
}

void FreedesktopNotificationCenter::add(const Request& request) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage message = notificationsCall("Notify");
    message << m_appName << uint(0) << QString() << request.title << request.body
            << QStringList{QStringLiteral("default"), QString()} << QVariantMap()
            << kServerDefaultExpiry;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, identifier = request.identifier](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isError()) {
                    SystemLog::write(QStringLiteral("Ovrel: notification failed: ") +
                                     reply.error().message());
                    return;
                }
                m_identifiers.insert(reply.value(), identifier);
            });
}

void FreedesktopNotificationCenter::onActionInvoked(uint id, const QString& actionKey) {
    const auto found = m_identifiers.constFind(id);
    if (found == m_identifiers.constEnd() || actionKey != QLatin1String("default"))
        return;
    emit activated(*found);
}

void FreedesktopNotificationCenter::onNotificationClosed(uint id, uint /*reason*/) {
    m_identifiers.remove(id);
}

} // namespace ovrel
