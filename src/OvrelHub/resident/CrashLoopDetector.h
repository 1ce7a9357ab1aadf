#pragma once

#include "Platform/system/UnixTime.h"

#include <optional>
#include <vector>

namespace ovrel {

// Whether a resident module keeps being started again.
struct ResidentHealth {
    std::optional<int> loopingStarts; // set: looping(starts:)

    static ResidentHealth ok() { return {}; }
    static ResidentHealth looping(int starts) { return {starts}; }
    bool isLooping() const { return loopingStarts.has_value(); }
    bool operator==(const ResidentHealth&) const = default;
};

namespace CrashLoopDetector {

// What the hub uses: four or more starts within five minutes are a loop.
inline constexpr int kWindowSeconds = 300;
inline constexpr int kThreshold = 4;

// Counts the starts at or after now - window; looping when the count reaches
// the threshold.
ResidentHealth health(const std::vector<UnixTime::TimePoint>& startups, UnixTime::TimePoint now,
                      int windowSeconds = kWindowSeconds, int threshold = kThreshold);

} // namespace CrashLoopDetector

} // namespace ovrel
