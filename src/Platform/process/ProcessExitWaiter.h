#pragma once

#include <QString>
#include <QtGlobal>
#include <chrono>
#include <optional>

namespace ovrel {

// Waits on the calling thread for a process to end, woken by the kernel
// (a pidfd), never by polling. Another thread may cut every wait short with
// interrupt(), which stays in force: later waits return at once.
class ProcessExitWaiter {
public:
    struct Exit {
        // Only this process's own children tell how they ended.
        bool statusKnown = false;
        bool successful = false; // exit status 0
        QString description;     // "mã 3", "tín hiệu 9" or "không rõ"
    };

    ProcessExitWaiter();
    ~ProcessExitWaiter();
    ProcessExitWaiter(const ProcessExitWaiter&) = delete;
    ProcessExitWaiter& operator=(const ProcessExitWaiter&) = delete;

    // Until the process ends (a child is reaped) or the wait is interrupted
    // (nothing). A process that cannot be watched counts as ended, status
    // unknown.
    std::optional<Exit> wait(qint64 pid, bool isChild);
    // Sleeps for the duration; false when interrupted.
    bool sleepFor(std::chrono::milliseconds duration);
    void interrupt();

    // Sends SIGTERM, waits up to `grace` for the end, then SIGKILL; reaps a
    // child. Not affected by interrupt().
    static void end(qint64 pid, bool isChild, std::chrono::milliseconds grace);

private:
    int m_wake = -1; // eventfd
};

} // namespace ovrel
