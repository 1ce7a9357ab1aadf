#include "Platform/desktop/ProgressThrottle.h"

namespace ovrel {

ProgressThrottle::ProgressThrottle(CommandLineProgressSink forward, Clock clock)
    : m_forward(std::move(forward)), m_clock(std::move(clock)) {
    m_elapsed.start();
    if (!m_clock)
        m_clock = [this] { return m_elapsed.elapsed(); };
}

void ProgressThrottle::report(const CommandLineProgress& progress) {
    if (!progress.isMeasured()) {
        flush();
        pass(progress);
        return;
    }
    const bool complete = progress.total >= 0 && progress.done >= progress.total;
    if (complete || !m_lastPassedAt || m_clock() - *m_lastPassedAt >= kIntervalMs) {
        m_held.reset();
        pass(progress);
        return;
    }
    m_held = progress;
}

void ProgressThrottle::flush() {
    if (!m_held)
        return;
    const CommandLineProgress held = *m_held;
    m_held.reset();
    pass(held);
}

void ProgressThrottle::pass(const CommandLineProgress& progress) {
    if (progress.isMeasured())
        m_lastPassedAt = m_clock();
    m_forward(progress);
}

} // namespace ovrel
