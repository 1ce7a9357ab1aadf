#include "Platform/system/UnixTime.h"

#include <cmath>

namespace ovrel::UnixTime {

namespace {
using Duration = TimePoint::duration;
using Ticks = Duration::rep;
constexpr double kTicksPerSecond = static_cast<double>(Duration::period::den);
static_assert(Duration::period::num == 1);
} // namespace

double toSeconds(TimePoint time) {
    const auto since = time.time_since_epoch();
    const auto whole = std::chrono::floor<std::chrono::seconds>(since);
    return static_cast<double>(whole.count()) +
           static_cast<double>((since - whole).count()) / kTicksPerSecond;
}

std::optional<TimePoint> fromSeconds(double seconds) {
    if (!std::isfinite(seconds))
        return std::nullopt;
    const double whole = std::floor(seconds);
    // Leave headroom for the fraction; beyond about 292 years either way nothing fits anyway.
    const double limit =
        static_cast<double>(
            std::chrono::duration_cast<std::chrono::seconds>(Duration::max()).count()) -
        1;
    if (whole >= limit || whole <= -limit)
        return std::nullopt;
    const auto ticks = static_cast<Ticks>(std::llround((seconds - whole) * kTicksPerSecond));
    return TimePoint(std::chrono::duration_cast<Duration>(
                         std::chrono::seconds(static_cast<std::chrono::seconds::rep>(whole))) +
                     Duration(ticks));
}

} // namespace ovrel::UnixTime
