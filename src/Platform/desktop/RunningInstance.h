#pragma once

#include "Platform/desktop/CommandLineOutcome.h"

#include <QDBusConnection>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace ovrel {

// The other end of SessionBusApplication: what a second start of the program
// uses to reach the instance that runs. Blocking calls; for a short-lived
// process that has nothing else to do.
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

    enum class CallResult {
        answered,   // `outcome` holds the instance's answer
        notRunning, // nobody owns the name: nothing was run
        failed,     // the call went out but no answer came back (see `error`)
    };
    // Runs the command line in the instance and waits for it without a time
    // limit: an install may take minutes.
    CallResult runCommandLine(const QStringList& arguments, const QString& workingDirectory,
                              CommandLineOutcome& outcome, QString* error = nullptr) const;

private:
    QDBusConnection m_bus;
    std::optional<QString> m_busName;
};

} // namespace ovrel
