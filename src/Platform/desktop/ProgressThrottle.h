#pragma once

#include "Platform/desktop/CommandLineProgress.h"

#include <QElapsedTimer>
#include <optional>

namespace ovrel {

// Thins a stream of progress reports before it crosses the bus: a download
// reports every network chunk, the caller needs a few redraws a second.
// Steps always pass, in order, after the last measured report held back
// before them; a measured report passes when kIntervalMs went by since the
// last one that passed, or when it completes its total. Main thread.
class ProgressThrottle {
public:
    static constexpr qint64 kIntervalMs = 100;
    // Milliseconds of a monotonic clock; the default is the system's.
    using Clock = std::function<qint64()>;

    explicit ProgressThrottle(CommandLineProgressSink forward, Clock clock = {});
    // The default clock refers to this object.
    ProgressThrottle(const ProgressThrottle&) = delete;
    ProgressThrottle& operator=(const ProgressThrottle&) = delete;

    void report(const CommandLineProgress& progress);
    // Passes a measured report still held back.
    void flush();

private:
    void pass(const CommandLineProgress& progress);

    CommandLineProgressSink m_forward;
    Clock m_clock;
    QElapsedTimer m_elapsed;
    std::optional<qint64> m_lastPassedAt;
    std::optional<CommandLineProgress> m_held;
};

} // namespace ovrel
