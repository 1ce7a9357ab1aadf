#include "Platform/files/SymlinkContainment.h"

#include <gtest/gtest.h>

using namespace ovrel;
using SymlinkContainment::staysInside;

namespace {

QHash<QString, QString> links(std::initializer_list<std::pair<QString, QString>> list) {
    QHash<QString, QString> map;
    for (const auto& [link, target] : list)
        map.insert(link, target);
    return map;
}

} // namespace

TEST(SymlinkContainment, TargetsWithinTheTreeStayInside) {
    const auto tree = links({{"Contents/Resources/current", "icon.png"},
                             {"Contents/Resources/up", "../MacOS/clock"},
                             {"Contents/root", ".."},
                             {"Contents/dot", "./Resources//icon.png"}});
    EXPECT_TRUE(staysInside("Contents/Resources/current", tree));
    EXPECT_TRUE(staysInside("Contents/Resources/up", tree));
    EXPECT_TRUE(staysInside("Contents/root", tree));
    EXPECT_TRUE(staysInside("Contents/dot", tree));
}

TEST(SymlinkContainment, AbsoluteOrClimbingTargetsLeave) {
    const auto tree = links({{"Contents/abs", "/etc/passwd"},
                             {"Contents/climb", "../../outside"},
                             {"Contents/Resources/deep", "../../../x"},
                             {"Contents/empty", ""},
                             {"Contents/back", "../../Clock.app/Contents/Info.plist"}});
    EXPECT_FALSE(staysInside("Contents/abs", tree));
    EXPECT_FALSE(staysInside("Contents/climb", tree));
    EXPECT_FALSE(staysInside("Contents/Resources/deep", tree));
    EXPECT_FALSE(staysInside("Contents/empty", tree));
    // Leaving the tree even for a moment counts as leaving it.
    EXPECT_FALSE(staysInside("Contents/back", tree));
    EXPECT_FALSE(staysInside("Contents/unknown", tree));
}

TEST(SymlinkContainment, LinksOnTheWayAreFollowedLikeTheKernelDoes) {
    // Read lexically "up/../../.." from Contents/Resources ends at the root;
    // through the link "up" (-> Contents) it climbs above the root.
    const auto tree = links({{"Contents/Resources/up", ".."},
                             {"Contents/Resources/escape", "up/../../.."},
                             {"Contents/Resources/fine", "up/MacOS/clock"},
                             {"Contents/a", "b/x"},
                             {"Contents/b", "../.."}});
    EXPECT_TRUE(staysInside("Contents/Resources/up", tree));
    EXPECT_FALSE(staysInside("Contents/Resources/escape", tree));
    EXPECT_TRUE(staysInside("Contents/Resources/fine", tree));
    EXPECT_FALSE(staysInside("Contents/a", tree));
}

TEST(SymlinkContainment, CyclesAndLongChainsAreRefused) {
    EXPECT_FALSE(staysInside("Contents/a", links({{"Contents/a", "b"}, {"Contents/b", "a"}})));
    EXPECT_FALSE(staysInside("Contents/self", links({{"Contents/self", "self/x"}})));

    QHash<QString, QString> chain;
    for (int i = 0; i < SymlinkContainment::kMaxHops + 5; ++i)
        chain.insert(QStringLiteral("Contents/l%1").arg(i), QStringLiteral("l%1").arg(i + 1));
    EXPECT_FALSE(staysInside("Contents/l0", chain));
    EXPECT_TRUE(
        staysInside(QStringLiteral("Contents/l%1").arg(10), links({{"Contents/l10", "x"}})));
}
