#include "OvrelHub/resident/CrashLoopDetector.h"

#include <algorithm>

namespace ovrel::CrashLoopDetector {

ResidentHealth health(const std::vector<UnixTime::TimePoint>& startups, UnixTime::TimePoint now,
                      int windowSeconds, int threshold) {
    const UnixTime::TimePoint since = now - std::chrono::seconds(windowSeconds);
    const auto count = std::count_if(startups.begin(), startups.end(),
                                     [since](UnixTime::TimePoint start) { return start >= since; });
    if (count < threshold)
        return ResidentHealth::ok();
    return ResidentHealth::looping(int(count));
}

} // namespace ovrel::CrashLoopDetector
