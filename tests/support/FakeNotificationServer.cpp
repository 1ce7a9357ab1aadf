#include "FakeNotificationServer.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace ovrel::test {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kConnectionName = QStringLiteral("fake-notification-server");
} // namespace

FakeNotificationServer::FakeNotificationServer()
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName)) {
    m_running = m_bus.isConnected() &&
                m_bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots) &&
                m_bus.registerService(kService);
}

FakeNotificationServer::~FakeNotificationServer() {
    m_bus.unregisterService(kService);
    m_bus.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(kConnectionName);
}

QStringList FakeNotificationServer::GetCapabilities() {
    return {QStringLiteral("actions"), QStringLiteral("body")};
}

QString FakeNotificationServer::GetServerInformation(QString& vendor, QString& version,
                                                     QString& specVersion) {
    vendor = QStringLiteral("ovrel-tests");
    version = QStringLiteral("1");
    specVersion = QStringLiteral("1.2");
    return QStringLiteral("fake");
}

uint FakeNotificationServer::Notify(const QString& appName, uint, const QString&,
                                    const QString& summary, const QString& body,
                                    const QStringList& actions, const QVariantMap&, int) {
    const uint id = m_nextId++;
    m_shown.append(Shown{id, appName, summary, body, actions});
    emit notified();
    return id;
}

void FakeNotificationServer::CloseNotification(uint id) {
    emitSignal("NotificationClosed", {id, uint(3)});
}

void FakeNotificationServer::click(uint id) {
    emitSignal("ActionInvoked", {id, QStringLiteral("default")});
    emitSignal("NotificationClosed", {id, uint(2)});
}

void FakeNotificationServer::emitSignal(const char* member, const QVariantList& arguments) {
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kService, QString::fromLatin1(member));
    signal.setArguments(arguments);
    m_bus.send(signal);
}

} // namespace ovrel::test
