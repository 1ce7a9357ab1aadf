#include "OvrelModuleKit/launch/ModulePrivateState.h"

#include "TestSupport.h"

#include <QVariantList>
#include <gtest/gtest.h>

using ovrel::ModulePrivateState;
using ovrel::UserDefaults;

namespace {

class ModulePrivateStateTest : public ::testing::Test {
protected:
    ovrel::test::TempDir dir;
    std::shared_ptr<UserDefaults> defaults =
        std::make_shared<UserDefaults>("vn.ovrel.module.clock", dir.path());
    ModulePrivateState state{"clock", defaults};

    // What another process sees in the same domain.
    UserDefaults reread() const { return UserDefaults("vn.ovrel.module.clock", dir.path()); }
};

} // namespace

TEST_F(ModulePrivateStateTest, EveryKindIsStoredUnderTheModulePrefix) {
    ASSERT_TRUE(state.setString(QString("Tokyo"), "zone"));
    ASSERT_TRUE(state.setDouble(1700000000.25, "lastCommandAt"));
    ASSERT_TRUE(state.setData(QByteArray("\x00\xff", 2), "blob"));
    ASSERT_TRUE(state.setStringArray(QStringList{"a", "b"}, "recent"));

    EXPECT_EQ(state.string("zone"), QString("Tokyo"));
    EXPECT_EQ(state.doubleValue("lastCommandAt"), 1700000000.25);
    EXPECT_EQ(state.data("blob"), QByteArray("\x00\xff", 2));
    EXPECT_EQ(state.stringArray("recent"), (QStringList{"a", "b"}));

    const UserDefaults other = reread();
    EXPECT_EQ(other.string("clock.zone"), QString("Tokyo"));
    EXPECT_EQ(other.real("clock.lastCommandAt"), 1700000000.25);
    EXPECT_FALSE(other.contains("zone"));
    EXPECT_FALSE(other.contains("lastCommandAt"));
}

TEST_F(ModulePrivateStateTest, AbsentValues) {
    EXPECT_EQ(state.string("zone"), std::nullopt);
    EXPECT_EQ(state.doubleValue("lastCommandAt"), 0.0);
    EXPECT_EQ(state.data("blob"), std::nullopt);
    EXPECT_EQ(state.stringArray("recent"), std::nullopt);
}

TEST_F(ModulePrivateStateTest, ValuesOfAnotherTypeReadAsNone) {
    defaults->set("clock.zone", qint64(5));
    defaults->set("clock.when", QString("soon"));
    defaults->set("clock.recent", QVariantList{QString("a"), qint64(1)});
    defaults->set("clock.blob", QString("text"));

    EXPECT_EQ(state.string("zone"), std::nullopt);
    EXPECT_EQ(state.doubleValue("when"), 0.0);
    EXPECT_EQ(state.stringArray("recent"), std::nullopt);
    EXPECT_EQ(state.data("blob"), std::nullopt);
}

TEST_F(ModulePrivateStateTest, BareKeyOfAnOlderVersionIsReadAndCopied) {
    defaults->set("zone", QString("Paris"));

    EXPECT_EQ(state.string("zone"), QString("Paris"));

    const UserDefaults other = reread();
    EXPECT_EQ(other.string("clock.zone"), QString("Paris"));
    EXPECT_EQ(other.string("zone"), QString("Paris")); // the old entry stays
}

TEST_F(ModulePrivateStateTest, NamespacedValueWinsOverOldEntries) {
    defaults->set("zone", QString("Paris"));
    defaults->set("clock.zone", QString("Hanoi"));
    EXPECT_EQ(state.string("zone"), QString("Hanoi"));
}

TEST_F(ModulePrivateStateTest, ExtraLegacyKeyComesBeforeTheBareKey) {
    ModulePrivateState legacy("clock", defaults, QString("ClockLastZone"));
    defaults->set("ClockLastZone", QString("Tokyo"));
    defaults->set("zone", QString("Paris"));

    EXPECT_EQ(legacy.string("zone"), QString("Tokyo"));
    EXPECT_EQ(reread().string("clock.zone"), QString("Tokyo"));
}

TEST_F(ModulePrivateStateTest, FirstExistingOldKeyDecidesEvenWhenItDoesNotRead) {
    ModulePrivateState legacy("clock", defaults, QString("ClockLastZone"));
    defaults->set("ClockLastZone", qint64(3));
    defaults->set("zone", QString("Paris"));

    EXPECT_EQ(legacy.string("zone"), std::nullopt);
    EXPECT_FALSE(reread().contains("clock.zone"));
}

TEST_F(ModulePrivateStateTest, OldNumbersAndListsAreCopiedToo) {
    defaults->set("lastCommandAt", QString("1700000000.5"));
    defaults->set("recent", QVariantList{QString("x"), QString("y")});

    EXPECT_EQ(state.doubleValue("lastCommandAt"), 1700000000.5);
    EXPECT_EQ(state.stringArray("recent"), (QStringList{"x", "y"}));
    EXPECT_EQ(reread().real("clock.lastCommandAt"), 1700000000.5);
    EXPECT_EQ(reread().array("clock.recent"), (QVariantList{QString("x"), QString("y")}));
}

TEST_F(ModulePrivateStateTest, ClearingRemovesTheValueForGood) {
    ModulePrivateState legacy("clock", defaults, QString("ClockLastZone"));
    defaults->set("ClockLastZone", QString("Tokyo"));
    defaults->set("zone", QString("Paris"));
    ASSERT_EQ(legacy.string("zone"), QString("Tokyo"));

    ASSERT_TRUE(legacy.setString(std::nullopt, "zone"));

    EXPECT_EQ(legacy.string("zone"), std::nullopt);
    const UserDefaults other = reread();
    EXPECT_FALSE(other.contains("clock.zone"));
    EXPECT_FALSE(other.contains("ClockLastZone"));
    EXPECT_FALSE(other.contains("zone"));
}

TEST_F(ModulePrivateStateTest, WritesThatCannotBeStoredReportFailure) {
    ovrel::test::writeFile(dir.file("blocked"), "a file where a directory should be");
    auto blocked = std::make_shared<UserDefaults>("vn.ovrel.module.clock", dir.file("blocked"));
    ModulePrivateState unwritable("clock", blocked);

    EXPECT_FALSE(unwritable.setString(QString("x"), "zone"));
    EXPECT_FALSE(unwritable.setDouble(1, "lastCommandAt"));
    EXPECT_EQ(unwritable.string("zone"), std::nullopt);
}

TEST_F(ModulePrivateStateTest, ModuleDomainIsTheModulesOwn) {
    EXPECT_EQ(ModulePrivateState::moduleDefaults("clock")->domain(), "vn.ovrel.module.clock");
}
