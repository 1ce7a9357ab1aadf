#include "Platform/desktop/CommandLineProgressSender.h"

#include "Platform/desktop/SessionBusApplication.h"

#include <QDBusMessage>

namespace ovrel {

CommandLineProgressSender::CommandLineProgressSender(QDBusConnection bus, QString caller,
                                                     QString path, QString token)
    : m_bus(std::move(bus)), m_caller(std::move(caller)), m_path(std::move(path)),
      m_token(std::move(token)),
      m_throttle([this](const CommandLineProgress& progress) { send(progress); }) {}

void CommandLineProgressSender::report(const CommandLineProgress& progress) {
    if (!m_closed)
        m_throttle.report(progress);
}

void CommandLineProgressSender::close() {
    if (m_closed)
        return;
    m_throttle.flush();
    m_closed = true;
}

void CommandLineProgressSender::send(const CommandLineProgress& progress) const {
    QDBusMessage signal = QDBusMessage::createTargetedSignal(
        m_caller, m_path, QLatin1String(SessionBusApplication::kCommandLineInterface),
        QLatin1String(kSignal));
    signal << m_token << progress.text << progress.done << progress.total;
    m_bus.send(signal);
}

} // namespace ovrel
