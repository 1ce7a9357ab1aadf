#include "OvrelConfig/VersionComparator.h"

#include <gtest/gtest.h>

using ovrel::VersionComparator;

TEST(VersionComparator, ComparesNumericallyPieceByPiece) {
    EXPECT_TRUE(VersionComparator::isNewer("1.10", "1.9"));
    EXPECT_FALSE(VersionComparator::isNewer("1.9", "1.10"));
    EXPECT_TRUE(VersionComparator::isNewer("2", "1.9.9"));
    EXPECT_FALSE(VersionComparator::isNewer("1.2", "1.2.0"));
    EXPECT_FALSE(VersionComparator::isNewer("1.2.0", "1.2"));
    EXPECT_FALSE(VersionComparator::isNewer("3.0", "3.0"));
    EXPECT_TRUE(VersionComparator::isNewer("1..3", "1.2"));
}

TEST(VersionComparator, MalformedPiecesCountAsZero) {
    EXPECT_FALSE(VersionComparator::isNewer("1.0.0-beta", "1.0.0"));
    EXPECT_TRUE(VersionComparator::isNewer("1.0.1", "1.0.0-beta"));
    EXPECT_FALSE(VersionComparator::isNewer("v2.0", "1.5"));
    EXPECT_TRUE(VersionComparator::isNewer("1.5", "v2.0"));
    // Beyond 64 bits the piece is zero, not clamped.
    EXPECT_FALSE(VersionComparator::isNewer("99999999999999999999", "1"));
    EXPECT_TRUE(VersionComparator::isNewer("9223372036854775807", "9223372036854775806"));
}

TEST(VersionComparator, SignsAreAccepted) {
    EXPECT_TRUE(VersionComparator::isNewer("+2", "1"));
    EXPECT_FALSE(VersionComparator::isNewer("1.-1", "1"));
    EXPECT_TRUE(VersionComparator::isNewer("1", "1.-1"));
    EXPECT_FALSE(VersionComparator::isNewer("+", "0"));
}

TEST(VersionComparator, EmptyStrings) {
    EXPECT_FALSE(VersionComparator::isNewer("", "1.0"));
    EXPECT_FALSE(VersionComparator::isNewer("", ""));
    EXPECT_TRUE(VersionComparator::isNewer("0.0.1", ""));
    EXPECT_FALSE(VersionComparator::isNewer("0.0", ""));
}
