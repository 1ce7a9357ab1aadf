#include "OvrelModuleKit/launch/ModuleDockPresence.h"

#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using ovrel::ModuleDockPresence;
using Policy = ovrel::ModuleDockPresence::Policy;

namespace {

// The presence is process-wide: every test starts from nothing held, in the
// background, with the switches it causes recorded.
class ModuleDockPresenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ModuleDockPresence::reset();
        ModuleDockPresence::setReleaseDelay(0.01);
        if (ModuleDockPresence::policy() == Policy::regular) {
            ModuleDockPresence::acquire();
            ModuleDockPresence::release();
            ASSERT_TRUE(QTest::qWaitFor([] { return !ModuleDockPresence::hasPendingHide(); }));
        }
        ASSERT_EQ(ModuleDockPresence::policy(), Policy::accessory);
        ModuleDockPresence::setPolicyHandler([this](Policy p) { switches.push_back(p); });
    }
    void TearDown() override {
        ModuleDockPresence::setPolicyHandler({});
        ModuleDockPresence::reset();
        ModuleDockPresence::setReleaseDelay(0.5);
    }

    static bool hideHappened() {
        return QTest::qWaitFor([] { return ModuleDockPresence::policy() == Policy::accessory; });
    }

    std::vector<Policy> switches;
};

} // namespace

TEST_F(ModuleDockPresenceTest, FirstHolderShowsTheModuleOnce) {
    ModuleDockPresence::acquire();
    ModuleDockPresence::acquire();
    EXPECT_EQ(ModuleDockPresence::count(), 2);
    EXPECT_EQ(ModuleDockPresence::policy(), Policy::regular);
    EXPECT_EQ(switches, (std::vector<Policy>{Policy::regular}));
}

TEST_F(ModuleDockPresenceTest, ReleasingOneOfTwoKeepsThePresence) {
    ModuleDockPresence::acquire();
    ModuleDockPresence::acquire();
    ModuleDockPresence::release();
    EXPECT_EQ(ModuleDockPresence::count(), 1);
    EXPECT_FALSE(ModuleDockPresence::hasPendingHide());
    QTest::qWait(50);
    EXPECT_EQ(ModuleDockPresence::policy(), Policy::regular);
}

TEST_F(ModuleDockPresenceTest, LastReleaseHidesAfterTheDelayNotAtOnce) {
    ModuleDockPresence::acquire();
    ModuleDockPresence::release();
    EXPECT_EQ(ModuleDockPresence::count(), 0);
    EXPECT_TRUE(ModuleDockPresence::hasPendingHide());
    EXPECT_EQ(ModuleDockPresence::policy(), Policy::regular); // only scheduled so far

    ASSERT_TRUE(hideHappened());
    EXPECT_FALSE(ModuleDockPresence::hasPendingHide());
    EXPECT_EQ(switches, (std::vector<Policy>{Policy::regular, Policy::accessory}));
}

TEST_F(ModuleDockPresenceTest, AcquiringWithinTheDelayCancelsTheHide) {
    ModuleDockPresence::acquire();
    ModuleDockPresence::release();
    ModuleDockPresence::acquire();
    EXPECT_FALSE(ModuleDockPresence::hasPendingHide());
    QTest::qWait(50); // well past the delay
    EXPECT_EQ(ModuleDockPresence::policy(), Policy::regular);
    EXPECT_EQ(switches, (std::vector<Policy>{Policy::regular}));
}

TEST_F(ModuleDockPresenceTest, CountNeverGoesBelowZero) {
    ModuleDockPresence::release();
    ModuleDockPresence::release();
    EXPECT_EQ(ModuleDockPresence::count(), 0);
    ModuleDockPresence::acquire();
    EXPECT_EQ(ModuleDockPresence::count(), 1);
    EXPECT_EQ(ModuleDockPresence::policy(), Policy::regular);
}

TEST_F(ModuleDockPresenceTest, ResetCancelsThePendingHideAndForgetsHolders) {
    ModuleDockPresence::acquire();
    ModuleDockPresence::acquire();
    ModuleDockPresence::reset();
    EXPECT_EQ(ModuleDockPresence::count(), 0);
    ModuleDockPresence::acquire();
    ModuleDockPresence::release();
    ASSERT_TRUE(ModuleDockPresence::hasPendingHide());
    ModuleDockPresence::reset();
    EXPECT_FALSE(ModuleDockPresence::hasPendingHide());
}
