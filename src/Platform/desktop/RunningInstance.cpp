#include "Platform/desktop/RunningInstance.h"

#include "Platform/process/ModuleBusName.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

namespace ovrel {

namespace {

// Activate and Open only hand something over; the instance answers at once.
constexpr int kHandOverTimeoutMs = 25000;

bool succeeded(const QDBusMessage& reply, QString* error) {
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    if (error)
        *error = reply.errorName() + QStringLiteral(": ") + reply.errorMessage();
    return false;
}

} // namespace

RunningInstance::RunningInstance(const QString& desktopId, QDBusConnection bus)
    : m_bus(std::move(bus)), m_busName(ModuleBusName::forBundleIdentifier(desktopId)) {}

bool RunningInstance::isRunning() const {
    if (!m_busName || !m_bus.isConnected() || !m_bus.interface())
        return false;
    return m_bus.interface()->isServiceRegistered(*m_busName).value();
}

bool RunningInstance::activate(QString* error) const {
    if (!m_busName)
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        *m_busName, ModuleBusName::objectPath(*m_busName),
        QLatin1String(ModuleBusName::kApplicationInterface), QStringLiteral("Activate"));
    call << QVariantMap();
    return succeeded(m_bus.call(call, QDBus::Block, kHandOverTimeoutMs), error);
}

bool RunningInstance::open(const QList<QUrl>& urls, QString* error) const {
    if (!m_busName)
        return false;
    QStringList uris;
    for (const QUrl& url : urls)
        uris.append(url.toString(QUrl::FullyEncoded));
    QDBusMessage call = QDBusMessage::createMethodCall(
        *m_busName, ModuleBusName::objectPath(*m_busName),
        QLatin1String(ModuleBusName::kApplicationInterface), QStringLiteral("Open"));
    call << uris << QVariantMap();
    return succeeded(m_bus.call(call, QDBus::Block, kHandOverTimeoutMs), error);
}

} // namespace ovrel
