#pragma once

#include <QDBusConnection>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace ovrel {

// The other end of SessionBusApplication: what a second start of the program
// uses to reach the instance that runs. Blocking calls; for a short-lived
// process that has nothing else to do. A command line is handed over with
// CommandLineCall.
class RunningInstance {
public:
    explicit RunningInstance(const QString& desktopId,
                             QDBusConnection bus = QDBusConnection::sessionBus());

    // Whether an instance owns the name right now.
    bool isRunning() const;

    // Each returns false (with the bus's message in `error`) when the instance
    // did not answer.
    bool activate(QString* error = nullptr) const;
    bool open(const QList<QUrl>& urls, QString* error = nullptr) const;

private:
    QDBusConnection m_bus;
    std::optional<QString> m_busName;
};

} // namespace ovrel
