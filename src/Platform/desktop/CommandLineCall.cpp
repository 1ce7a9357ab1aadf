#include "Platform/desktop/CommandLineCall.h"

#include "Platform/desktop/CommandLineProgressSender.h"
#include "Platform/desktop/SessionBusApplication.h"
#include "Platform/process/ModuleBusName.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QUuid>
#include <limits>

namespace ovrel {

namespace {

// libdbus reads the largest int as "no limit".
constexpr int kNoTimeout = std::numeric_limits<int>::max();

} // namespace

CommandLineCall::CommandLineCall(const QString& desktopId, QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)),
      m_busName(ModuleBusName::forBundleIdentifier(desktopId)),
      m_token(QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

void CommandLineCall::start(const QStringList& arguments, const QString& workingDirectory,
                            CommandLineProgressSink progress, Done done) {
    m_progress = std::move(progress);
    m_done = std::move(done);
    if (!m_busName || !m_bus.isConnected() || !m_bus.interface() ||
        !m_bus.interface()->isServiceRegistered(*m_busName).value()) {
        finish(Result::notRunning, {}, {});
        return;
    }
    const QString path = ModuleBusName::objectPath(*m_busName);
    const QString interface = QLatin1String(SessionBusApplication::kCommandLineInterface);
    // Listening before the call goes out, so no report is missed; the match
    // on the token leaves the reports of other callers out.
    m_bus.connect(*m_busName, path, interface, QLatin1String(CommandLineProgressSender::kSignal),
                  QStringList{m_token}, QStringLiteral("ssxx"), this,
                  SLOT(receiveProgress(QDBusMessage)));
    QDBusMessage call =
        QDBusMessage::createMethodCall(*m_busName, path, interface,
                                       QLatin1String(SessionBusApplication::kCommandLineWithProgress));
    call << arguments << workingDirectory << m_token;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kNoTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) { answered(finished); });
}

void CommandLineCall::receiveProgress(const QDBusMessage& message) {
    const QList<QVariant> values = message.arguments();
    if (!m_progress || message.signature() != QLatin1String("ssxx") ||
        values.value(0).toString() != m_token)
        return;
    m_progress({values.value(1).toString(), values.value(2).toLongLong(),
                values.value(3).toLongLong()});
}

void CommandLineCall::answered(QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    const QDBusMessage reply = watcher->reply();
    if (reply.type() == QDBusMessage::ErrorMessage &&
        reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")) {
        finish(Result::notRunning, {}, {}); // it quit between the look and the call
        return;
    }
    if (reply.type() != QDBusMessage::ReplyMessage) {
        finish(Result::failed, {}, reply.errorName() + QStringLiteral(": ") + reply.errorMessage());
        return;
    }
    if (reply.signature() != QLatin1String("iss")) {
        finish(Result::failed, {},
               QStringLiteral("unexpected answer of signature ") + reply.signature());
        return;
    }
    const QList<QVariant> values = reply.arguments();
    finish(Result::answered,
           {values.value(0).toInt(), values.value(1).toString(), values.value(2).toString()}, {});
}

void CommandLineCall::finish(Result result, const CommandLineOutcome& outcome,
                             const QString& error) {
    // A report that comes after the answer belongs to nothing any more.
    m_progress = {};
    if (m_busName)
        m_bus.disconnect(*m_busName, ModuleBusName::objectPath(*m_busName),
                         QLatin1String(SessionBusApplication::kCommandLineInterface),
                         QLatin1String(CommandLineProgressSender::kSignal), QStringList{m_token},
                         QStringLiteral("ssxx"), this, SLOT(receiveProgress(QDBusMessage)));
    if (Done done = std::exchange(m_done, {}))
        done(result, outcome, error);
}

} // namespace ovrel
