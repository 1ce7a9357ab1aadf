#include "Platform/process/ProcessExitWaiter.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ovrel {

namespace {

int openPidfd(qint64 pid) {
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

// Polls the descriptors (-1 entries are left out); the index of the first
// readable one, -1 on timeout.
int pollEither(int first, int second, int timeoutMs) {
    pollfd fds[2] = {{first, POLLIN, 0}, {second, POLLIN, 0}};
    for (;;) {
        const int n = ::poll(fds, 2, timeoutMs);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        return (fds[0].revents != 0) ? 0 : 1;
    }
}

ProcessExitWaiter::Exit reap(qint64 pid) {
    siginfo_t info{};
    while (::waitid(P_PID, id_t(pid), &info, WEXITED) < 0) {
        if (errno != EINTR)
            return {false, false, QStringLiteral("không rõ")};
    }
    if (info.si_code == CLD_EXITED)
        return {true, info.si_status == 0, QStringLiteral("mã %1").arg(info.si_status)};
    return {true, false, QStringLiteral("tín hiệu %1").arg(info.si_status)};
}

} // namespace

ProcessExitWaiter::ProcessExitWaiter() : m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ProcessExitWaiter::~ProcessExitWaiter() {
    if (m_wake >= 0)
        ::close(m_wake);
}

void ProcessExitWaiter::interrupt() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
}

std::optional<ProcessExitWaiter::Exit> ProcessExitWaiter::wait(qint64 pid, bool isChild) {
    const int pidfd = openPidfd(pid);
    if (pidfd < 0) {
        // Without a pidfd only a child can still be waited for (uninterruptibly).
        if (isChild)
            return reap(pid);
        return Exit{false, false, QStringLiteral("không rõ")};
    }
    const int ready = pollEither(m_wake, pidfd, -1);
    ::close(pidfd);
    if (ready == 0)
        return std::nullopt;
    if (isChild)
        return reap(pid);
    return Exit{false, false, QStringLiteral("không rõ")};
}

bool ProcessExitWaiter::sleepFor(std::chrono::milliseconds duration) {
    if (duration.count() <= 0) {
        pollfd fd{m_wake, POLLIN, 0};
        return ::poll(&fd, 1, 0) == 0;
    }
    return pollEither(m_wake, -1, int(std::min<qint64>(duration.count(), INT_MAX))) != 0;
}

void ProcessExitWaiter::end(qint64 pid, bool isChild, std::chrono::milliseconds grace) {
    if (pid <= 0)
        return; // kill() would reach a whole process group
    const int pidfd = openPidfd(pid);
    // A number that is neither held nor ours may already name another process.
    if (pidfd < 0 && !isChild)
        return;
    ::kill(pid_t(pid), SIGTERM);
    if (pidfd >= 0) {
        if (pollEither(pidfd, -1, int(grace.count())) != 0)
            ::kill(pid_t(pid), SIGKILL);
        ::close(pidfd);
    } else if (isChild) {
        ::kill(pid_t(pid), SIGKILL);
    }
    if (isChild)
        reap(pid);
}

} // namespace ovrel
