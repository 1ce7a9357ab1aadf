#pragma once

#include <chrono>
#include <optional>

namespace ovrel::pulse {

// When the next break is due, and whether reminders are paused. Pure logic:
// the caller passes the current time and acts on what advance() reports.
class PulseSchedule {
public:
    using TimePoint = std::chrono::system_clock::time_point;
    using Duration = std::chrono::system_clock::duration;

    enum class Pause { off, forAWhile, untilResumed };

    // Restarts the countdown from now when the interval changes (or was never set).
    void setInterval(std::chrono::minutes interval, TimePoint now);
    std::chrono::minutes interval() const { return m_interval; }

    // A break just happened: the next one is a full interval away.
    void takeBreak(TimePoint now);
    void pauseFor(Duration duration, TimePoint now);
    void pauseUntilResumed();
    void resume(TimePoint now);
    // Restores a pause kept from an earlier run; an elapsed one is over.
    void restorePause(Pause pause, TimePoint until, TimePoint now);

    // Catches up with the time: a pause that ran out ends, and a break that
    // fell due is taken. True when the caller should remind the user now.
    bool advance(TimePoint now);

    // When advance() has something to do next; none while paused until resumed.
    std::optional<TimePoint> nextEvent() const;

    Pause pause() const { return m_pause; }
    TimePoint pausedUntil() const { return m_until; }
    TimePoint nextBreak() const { return m_nextBreak; }

private:
    std::chrono::minutes m_interval{0};
    Pause m_pause = Pause::off;
    TimePoint m_until{};
    TimePoint m_nextBreak{};
};

} // namespace ovrel::pulse
