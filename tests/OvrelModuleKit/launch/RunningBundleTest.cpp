#include "OvrelModuleKit/launch/RunningBundle.h"

#include <gtest/gtest.h>

namespace RunningBundle = ovrel::RunningBundle;

TEST(RunningBundleTest, BundleIsTwoLevelsAboveContentsMacOS) {
    EXPECT_EQ(RunningBundle::bundleOf(
                  "/home/u/.local/share/Ovrel/Modules/clock/Clock.app/Contents/MacOS"),
              QString("/home/u/.local/share/Ovrel/Modules/clock/Clock.app"));
    EXPECT_EQ(RunningBundle::bundleOf("/opt/Clock.app/Contents/MacOS/"), QString("/opt/Clock.app"));
}

TEST(RunningBundleTest, ProgramsOutsideABundleHaveNone) {
    EXPECT_EQ(RunningBundle::bundleOf("/usr/bin"), std::nullopt);
    EXPECT_EQ(RunningBundle::bundleOf("/opt/Clock.app/Contents"), std::nullopt);
    EXPECT_EQ(RunningBundle::bundleOf("/opt/Clock.app/Contents/MacOSX"), std::nullopt);
    EXPECT_EQ(RunningBundle::bundleOf("/Contents/MacOS"), std::nullopt);
    // The test program itself runs from the build tree.
    EXPECT_EQ(RunningBundle::path(), std::nullopt);
    EXPECT_TRUE(RunningBundle::infoDictionary().isEmpty());
}
