#include "PulseSchedule.h"

namespace ovrel::pulse {

void PulseSchedule::setInterval(std::chrono::minutes interval, TimePoint now) {
    if (interval == m_interval)
        return;
    m_interval = interval;
    m_nextBreak = now + interval;
}

void PulseSchedule::takeBreak(TimePoint now) {
    m_nextBreak = now + m_interval;
}

void PulseSchedule::pauseFor(Duration duration, TimePoint now) {
    m_pause = Pause::forAWhile;
    m_until = now + duration;
}

void PulseSchedule::pauseUntilResumed() {
    m_pause = Pause::untilResumed;
    m_until = {};
}

void PulseSchedule::resume(TimePoint now) {
    m_pause = Pause::off;
    m_until = {};
    m_nextBreak = now + m_interval;
}

void PulseSchedule::restorePause(Pause pause, TimePoint until, TimePoint now) {
    if (pause == Pause::untilResumed)
        pauseUntilResumed();
    else if (pause == Pause::forAWhile && until > now)
        pauseFor(until - now, now);
}

bool PulseSchedule::advance(TimePoint now) {
    if (m_pause == Pause::forAWhile && now >= m_until)
        resume(now);
    if (m_pause != Pause::off || now < m_nextBreak)
        return false;
    takeBreak(now);
    return true;
}

std::optional<PulseSchedule::TimePoint> PulseSchedule::nextEvent() const {
    switch (m_pause) {
    case Pause::off:
        return m_nextBreak;
    case Pause::forAWhile:
        return m_until;
    case Pause::untilResumed:
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace ovrel::pulse
