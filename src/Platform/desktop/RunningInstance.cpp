#include "Platform/desktop/RunningInstance.h"

#include "Platform/desktop/SessionBusApplication.h"
#include "Platform/process/ModuleBusName.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>
#include <limits>

namespace ovrel {

namespace {

// Activate and Open only hand something over; the instance answers at once.
constexpr int kHandOverTimeoutMs = 25000;
// libdbus reads the largest int as "no limit".
constexpr int kNoTimeout = std::numeric_limits<int>::max();

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

RunningInstance::CallResult RunningInstance::runCommandLine(const QStringList& arguments,
                                                            const QString& workingDirectory,
                                                            CommandLineOutcome& outcome,
                                                            QString* error) const {
    if (!m_busName || !isRunning())
        return CallResult::notRunning;
    QDBusMessage call = QDBusMessage::createMethodCall(
        *m_busName, ModuleBusName::objectPath(*m_busName),
        QLatin1String(SessionBusApplication::kCommandLineInterface), QStringLiteral("CommandLine"));
    call << arguments << workingDirectory;
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kNoTimeout);
    if (reply.type() == QDBusMessage::ErrorMessage &&
        reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))
        return CallResult::notRunning; // it quit between the look and the call
    if (!succeeded(reply, error))
        return CallResult::failed;
    const QList<QVariant> values = reply.arguments();
    if (reply.signature() != QLatin1String("iss")) {
        if (error)
            *error = QStringLiteral("unexpected answer of signature ") + reply.signature();
        return CallResult::failed;
    }
    outcome = {values.value(0).toInt(), values.value(1).toString(), values.value(2).toString()};
    return CallResult::answered;
}

} // namespace ovrel
