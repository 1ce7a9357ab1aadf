#include "Platform/system/SystemLog.h"

#include <QStringList>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <syslog.h>

namespace ovrel {

namespace {
std::mutex& hookMutex() {
    static std::mutex m;
    return m;
}
SystemLog::Hook& hook() {
    static SystemLog::Hook h;
    return h;
}
std::atomic<bool> echoToStandardError{true};
} // namespace

void SystemLog::write(const QString& line) {
    static std::once_flag opened;
    std::call_once(opened, [] { ::openlog("Ovrel", LOG_PID, LOG_USER); });
    const QByteArray utf8 = line.toUtf8();
    ::syslog(LOG_NOTICE, "%s", utf8.constData());
    if (echoToStandardError)
        std::fprintf(stderr, "%s\n", utf8.constData());
    Hook h;
    {
        std::lock_guard lock(hookMutex());
        h = hook();
    }
    if (h)
        h(line);
}

void SystemLog::setEchoToStandardError(bool echo) {
    echoToStandardError = echo;
}

SystemLog::Hook SystemLog::setCaptureHook(Hook newHook) {
    std::lock_guard lock(hookMutex());
    Hook previous = std::move(hook());
    hook() = std::move(newHook);
    return previous;
}

struct SystemLogCapture::State {
    mutable std::mutex mutex;
    QStringList lines;
};

SystemLogCapture::SystemLogCapture() : m_state(new State) {
    State* state = m_state;
    m_previous = SystemLog::setCaptureHook([state](const QString& line) {
        std::lock_guard lock(state->mutex);
        state->lines.append(line);
    });
}

SystemLogCapture::~SystemLogCapture() {
    SystemLog::setCaptureHook(std::move(m_previous));
    delete m_state;
}

QStringList SystemLogCapture::lines() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->lines;
}

bool SystemLogCapture::contains(const QString& line) const {
    return lines().contains(line);
}

} // namespace ovrel
