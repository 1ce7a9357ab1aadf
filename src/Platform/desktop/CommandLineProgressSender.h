#pragma once

#include "Platform/desktop/ProgressThrottle.h"

#include <QDBusConnection>
#include <QString>

namespace ovrel {

// The running instance's end of a command line's progress: each report goes
// to the one caller that asked for it, as the signal
//   vn.ovrel.Hub.CommandLineProgress(s token, s text, x done, x total)
// addressed to the caller's unique bus name and tagged with the token it
// chose, so no other listener takes it for its own. Reports are thinned
// (ProgressThrottle). A caller that went away costs nothing: the bus drops
// signals to a name nobody owns, and nothing waits for them.
// Main thread.
class CommandLineProgressSender {
public:
    static constexpr const char* kSignal = "CommandLineProgress";

    CommandLineProgressSender(QDBusConnection bus, QString caller, QString path, QString token);
    CommandLineProgressSender(const CommandLineProgressSender&) = delete;
    CommandLineProgressSender& operator=(const CommandLineProgressSender&) = delete;

    void report(const CommandLineProgress& progress);
    // Before the answer: what was held back goes first; nothing is sent after.
    void close();

private:
    void send(const CommandLineProgress& progress) const;

    QDBusConnection m_bus;
    QString m_caller;
    QString m_path;
    QString m_token;
    ProgressThrottle m_throttle;
    bool m_closed = false;
};

} // namespace ovrel
