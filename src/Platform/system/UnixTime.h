#pragma once

#include <chrono>
#include <optional>

namespace ovrel {

// Points in time stored in shared files as seconds since 1970 in a double.
// Whole seconds and the fraction are converted apart, so for present-day
// times (where a double is coarser than a nanosecond) a stored double reads
// back as a time point that converts to the very same double.
namespace UnixTime {

using TimePoint = std::chrono::system_clock::time_point;

double toSeconds(TimePoint time);
// Nothing for NaN, infinities and times a time point cannot hold.
std::optional<TimePoint> fromSeconds(double seconds);

} // namespace UnixTime

} // namespace ovrel
