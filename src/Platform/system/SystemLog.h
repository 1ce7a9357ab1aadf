#pragma once

#include <QString>
#include <functional>

namespace ovrel {

// The system log: syslog(3) with the ident "Ovrel" (journald keeps it) and
// standard error. Lines already start with "Ovrel: " where the caller says so.
class SystemLog {
public:
    using Hook = std::function<void(const QString&)>;

    static void write(const QString& line);

    // While a hook is installed every line is also handed to it (tests read
    // what a component logged). Returns the previous hook.
    static Hook setCaptureHook(Hook hook);

    // Whether lines are also written to standard error (on by default). A
    // command-line process turns it off: its standard error is the answer the
    // user reads, and the lines still reach the journal.
    static void setEchoToStandardError(bool echo);
};

// Collects the lines logged during its lifetime.
class SystemLogCapture {
public:
    SystemLogCapture();
    ~SystemLogCapture();
    SystemLogCapture(const SystemLogCapture&) = delete;
    SystemLogCapture& operator=(const SystemLogCapture&) = delete;

    QStringList lines() const;
    bool contains(const QString& line) const;

private:
    struct State;
    State* m_state;
    SystemLog::Hook m_previous;
};

} // namespace ovrel
