#include "Platform/process/LinuxRunningApplication.h"

#include "Platform/process/ModuleBusName.h"
#include "Platform/process/ProcessStat.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace ovrel {

namespace {

const QString kProcRoot = QString::fromLatin1(ProcessStat::kDefaultProcRoot);

int openPidfd(qint64 pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
}

int signalPidfd(int pidfd, int signal) {
    return static_cast<int>(::syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0));
}

} // namespace

LinuxRunningApplication::LinuxRunningApplication(qint64 pid, std::optional<quint64> startTime,
                                                 QString bundleIdentifier, QString bundlePath,
                                                 QString executablePath, Hold hold)
    : RunningApplication(pid, std::move(bundleIdentifier), std::move(bundlePath),
                         std::move(executablePath)),
      m_startTime(startTime.value_or(0)) {
    if (pid <= 0 || !startTime) {
        m_gone = true;
        return;
    }
    if (hold == Hold::pidfdWhenAvailable) {
        m_pidfd = openPidfd(pid);
        // Only "no such process" is an answer; an old kernel, a sandbox that
        // forbids the call or a full descriptor table leave the start-time checks.
        if (m_pidfd < 0 && errno == ESRCH) {
            m_gone = true;
            return;
        }
    }
    // The pidfd (or the number) must still name the process that was found.
    if (!isSameProcessRunning()) {
        m_gone = true;
        if (m_pidfd >= 0)
            ::close(m_pidfd);
        m_pidfd = -1;
    }
}

std::shared_ptr<LinuxRunningApplication> LinuxRunningApplication::attach(qint64 pid,
                                                                         QString bundleIdentifier,
                                                                         QString bundlePath,
                                                                         QString executablePath) {
    const auto stat = ProcessStat::read(kProcRoot, pid);
    // A process that already ended still gets a handle, one that reports so.
    return std::make_shared<LinuxRunningApplication>(
        pid, stat ? std::optional<quint64>(stat->startTime) : std::nullopt,
        std::move(bundleIdentifier), std::move(bundlePath), std::move(executablePath));
}

LinuxRunningApplication::~LinuxRunningApplication() {
    if (m_pidfd >= 0)
        ::close(m_pidfd);
}

bool LinuxRunningApplication::isSameProcessRunning() const {
    if (pid() <= 0)
        return false;
    const auto stat = ProcessStat::read(kProcRoot, pid());
    return stat && stat->startTime == m_startTime && !stat->hasExited();
}

bool LinuxRunningApplication::isTerminated() const {
    if (m_gone)
        return true;
    if (m_pidfd < 0)
        return !isSameProcessRunning();
    // A pidfd becomes readable once every thread has exited; the main thread
    // is a zombie slightly earlier, and by then the process has ended too.
    // While the pidfd is not readable the number cannot have been reused.
    pollfd watch{m_pidfd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&watch, 1, 0);
    } while (ready < 0 && errno == EINTR);
    if (ready > 0)
        return true;
    const auto stat = ProcessStat::read(kProcRoot, pid());
    return !stat || stat->hasExited();
}

bool LinuxRunningApplication::sendSignal(int signal) {
    if (isTerminated())
        return false;
    if (m_pidfd >= 0)
        return signalPidfd(m_pidfd, signal) == 0;
    return ::kill(static_cast<pid_t>(pid()), signal) == 0;
}

bool LinuxRunningApplication::terminate() {
    return sendSignal(SIGTERM);
}

bool LinuxRunningApplication::forceTerminate() {
    return sendSignal(SIGKILL);
}

bool LinuxRunningApplication::activate() {
    if (isTerminated())
        return false;
    const auto busName = ModuleBusName::forBundleIdentifier(bundleIdentifier());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!busName || !bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        *busName, ModuleBusName::objectPath(*busName),
        QString::fromLatin1(ModuleBusName::kApplicationInterface), QStringLiteral("Activate"));
    call << QVariantMap();
    // Nothing may be started on our behalf: only a running owner of the name answers.
    call.setAutoStartService(false);
    return bus.send(call);
}

} // namespace ovrel
