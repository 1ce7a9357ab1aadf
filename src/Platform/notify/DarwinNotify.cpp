#include "Platform/notify/DarwinNotify.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace ovrel {

namespace {
const QString kPathS = QString::fromLatin1(DarwinNotify::kPath);
const QString kInterfaceS = QString::fromLatin1(DarwinNotify::kInterface);
const QString kMemberS = QString::fromLatin1(DarwinNotify::kMember);
} // namespace

void DarwinNotify::post(const QString& name) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kPathS, kInterfaceS, kMemberS);
    signal << name;
    bus.send(signal);
}

DarwinNotify::Token DarwinNotify::observe(const QString& name, std::function<void()> handler) {
    return std::make_unique<Observation>(name, std::move(handler));
}

void DarwinNotify::waitUntilObserving() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
}

DarwinNotify::Observation::Observation(QString name, std::function<void()> handler)
    : m_name(std::move(name)), m_handler(std::move(handler)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    m_connected = bus.connect(QString(), kPathS, kInterfaceS, kMemberS, QStringList{m_name},
                              QString(), this, SLOT(onPosted(QString)));
}

DarwinNotify::Observation::~Observation() {
    if (!m_connected)
        return;
    QDBusConnection::sessionBus().disconnect(QString(), kPathS, kInterfaceS, kMemberS,
                                             QStringList{m_name}, QString(), this,
                                             SLOT(onPosted(QString)));
}

void DarwinNotify::Observation::onPosted(const QString& name) {
    // The bus already filters on the name; check again in case two observers
    // of different names share a match rule.
    if (name == m_name && m_handler)
        m_handler();
}

} // namespace ovrel
