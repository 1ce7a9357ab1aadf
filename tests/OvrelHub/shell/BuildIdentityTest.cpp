#include "OvrelHub/shell/BuildIdentity.h"

#include <gtest/gtest.h>

using ovrel::BuildIdentity;

TEST(BuildIdentity, ProductFollowsBundleIdentifier) {
    EXPECT_EQ(BuildIdentity::product("vn.ovrel.lite"), "lite");
    EXPECT_EQ(BuildIdentity::product("vn.ovrel.app"), "app");
    EXPECT_EQ(BuildIdentity::product(""), "app");
    EXPECT_EQ(BuildIdentity::product("vn.ovrel.lite.extra"), "app");
    EXPECT_EQ(BuildIdentity::platform(), "macos");
}
