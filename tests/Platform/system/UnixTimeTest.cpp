#include "Platform/system/UnixTime.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace ovrel;
using namespace std::chrono;

TEST(UnixTime, StoredSecondsReadBackToTheSameDouble) {
    for (const double seconds : {0.0, 1.0, 1700000000.25, 1733550000.1234567, 1733550000.9999998,
                                 -86400.5, 1e-9, 4102444800.999, -1e9}) {
        const auto time = UnixTime::fromSeconds(seconds);
        ASSERT_TRUE(time.has_value()) << seconds;
        EXPECT_EQ(UnixTime::toSeconds(*time), seconds);
    }
    EXPECT_EQ(UnixTime::fromSeconds(1700000000.25)->time_since_epoch(),
              seconds(1700000000) + milliseconds(250));
    EXPECT_EQ(UnixTime::fromSeconds(-0.5)->time_since_epoch(), milliseconds(-500));
    // Finer than a nanosecond: the nearest nanosecond, carried into the next second.
    EXPECT_EQ(UnixTime::fromSeconds(0.9999999999)->time_since_epoch(), seconds(1));
}

TEST(UnixTime, TimePointsConvertWithinADoublesPrecision) {
    const auto now = system_clock::now();
    const auto back = UnixTime::fromSeconds(UnixTime::toSeconds(now));
    ASSERT_TRUE(back.has_value());
    EXPECT_LT(abs(*back - now), microseconds(1));
    EXPECT_EQ(
        UnixTime::toSeconds(system_clock::time_point(seconds(1700000000) + milliseconds(250))),
        1700000000.25);
}

TEST(UnixTime, RefusesWhatNoTimePointHolds) {
    for (const double seconds :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), 1e300, -1e300, 1e19})
        EXPECT_EQ(UnixTime::fromSeconds(seconds), std::nullopt) << seconds;
}
