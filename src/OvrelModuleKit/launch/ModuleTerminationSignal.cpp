#include "OvrelModuleKit/launch/ModuleTerminationSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ovrel::ModuleTerminationSignal {

namespace {

// The handler may only do async-signal-safe work: it writes one byte into a
// pipe whose other end the event loop watches.
int wakeFds[2] = {-1, -1};

extern "C" void onTerminationSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
    errno = savedErrno;
}

void drain(int fd) {
    char buffer[64];
    while (::read(fd, buffer, sizeof buffer) > 0) {
    }
}

bool installOnce() {
    if (!QCoreApplication::instance() || ::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto* notifier =
        new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        drain(wakeFds[0]);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 &&
           ::sigaction(SIGINT, &action, nullptr) == 0;
}

} // namespace

bool install() {
    static const bool installed = installOnce();
    return installed;
}

} // namespace ovrel::ModuleTerminationSignal
