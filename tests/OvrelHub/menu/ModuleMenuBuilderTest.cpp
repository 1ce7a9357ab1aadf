#include "OvrelHub/menu/ModuleMenuBuilder.h"
#include "ModuleFixtures.h"
#include "OvrelHub/menu/MenuLayout.h"

#include <gtest/gtest.h>

using namespace ovrel;
using test::installedModule;

namespace {
QStringList ids(const QList<ModuleMenuItem>& items) {
    QStringList out;
    for (const auto& item : items)
        out.append(item.moduleId + "/" + item.command);
    return out;
}
QList<ModuleMenuItem> itemsFor(int moduleCount) {
    QList<InstalledPair> pairs;
    for (int i = 0; i < moduleCount; ++i)
        pairs.append(installedModule(QString("m%1").arg(i), {"open"}));
    return ModuleMenuBuilder::items(pairs, AppLanguage::en, std::nullopt);
}
} // namespace

TEST(ModuleMenuBuilder, SortsByIdKeepsManifestOrderAndSkipsModulesWithoutEntries) {
    auto b = installedModule("b-app", {"open", "new", "list"});
    b.module.hotkeys.emplace("new", Hotkey(12, true, false, false, true));
    const QList<InstalledPair> pairs{b, installedModule("a1", {"open"}),
                                     installedModule("empty", {}), installedModule("a", {"open"})};
    const auto items = ModuleMenuBuilder::items(pairs, AppLanguage::en, ModulePaths("/root"));
    EXPECT_EQ(ids(items),
              (QStringList{"a/open", "a1/open", "b-app/open", "b-app/new", "b-app/list"}));
    EXPECT_EQ(items[3].moduleName, "Name b-app");
    EXPECT_EQ(items[3].title, "Label new");
    EXPECT_EQ(items[3].hotkey, Hotkey(12, true, false, false, true));
    EXPECT_FALSE(items[2].hotkey.has_value());
    EXPECT_EQ(items[0].iconPath, QString("/root/Modules/a/a.app"));
    EXPECT_FALSE(
        ModuleMenuBuilder::items(pairs, AppLanguage::en, std::nullopt)[0].iconPath.has_value());
}

TEST(ModuleMenuBuilder, TextsFollowTheLanguageWithFallbacks) {
    const auto pair = installedModule("clock", {"open"});
    EXPECT_EQ(ModuleMenuBuilder::items({pair}, AppLanguage::vi, std::nullopt)[0].moduleName,
              "Tên clock");
    // Japanese is not in the manifest: English is the first fallback.
    EXPECT_EQ(ModuleMenuBuilder::items({pair}, AppLanguage::ja, std::nullopt)[0].title,
              "Label open");
}

TEST(MenuLayout, NineModulesInTwoByFourLeaveOneOverflow) {
    const auto arrangement = MenuLayout::arrange(itemsFor(9), MenuGridLayout(2, 4));
    ASSERT_EQ(arrangement.rows.size(), 2);
    EXPECT_EQ(arrangement.rows[0].size(), 4);
    EXPECT_EQ(arrangement.rows[1].size(), 4);
    ASSERT_EQ(arrangement.overflow.size(), 1);
    EXPECT_EQ(arrangement.overflow[0].moduleId, "m8");
}

TEST(MenuLayout, ShortLastRowAndEmptyInput) {
    auto arrangement = MenuLayout::arrange(itemsFor(6), MenuGridLayout(2, 4));
    ASSERT_EQ(arrangement.rows.size(), 2);
    EXPECT_EQ(arrangement.rows[1].size(), 2);
    EXPECT_TRUE(arrangement.overflow.isEmpty());
    arrangement = MenuLayout::arrange({}, MenuGridLayout());
    EXPECT_TRUE(arrangement.rows.isEmpty());
    EXPECT_TRUE(arrangement.overflow.isEmpty());
}

TEST(MenuGridLayout, ClampsAndDefaults) {
    EXPECT_EQ(MenuGridLayout(), MenuGridLayout(2, 4));
    EXPECT_EQ(MenuGridLayout(9, 1), MenuGridLayout(4, 2));
    EXPECT_EQ(MenuGridLayout(0, 9).rows, 1);
    EXPECT_EQ(MenuGridLayout(0, 9).columns, 5);
    EXPECT_EQ(MenuGridLayout(3, 5).capacity(), 15);
}

TEST(ModuleGridBuilder, OneCellPerModuleKeepingTheFirstEntry) {
    const auto items = ModuleMenuBuilder::items(
        {installedModule("a", {"x", "y", "z"}), installedModule("b", {"open"})}, AppLanguage::en,
        std::nullopt);
    EXPECT_EQ(ids(ModuleGridBuilder::dedupe(items)), (QStringList{"a/x", "b/open"}));
}

TEST(QuickAccessMenuBuilder, GroupsFollowItemOrder) {
    const auto items =
        ModuleMenuBuilder::items({installedModule("b", {"one", "two"}),
                                  installedModule("a", {"open"}), installedModule("c", {"open"})},
                                 AppLanguage::en, std::nullopt);
    const auto groups = QuickAccessMenuBuilder::items(items, {"b", "a"});
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].moduleId, "a");
    EXPECT_EQ(groups[1].moduleId, "b");
    EXPECT_EQ(groups[1].moduleName, "Name b");
    EXPECT_EQ(ids(groups[1].commands), (QStringList{"b/one", "b/two"}));
    EXPECT_TRUE(QuickAccessMenuBuilder::items(items, {}).isEmpty());
}
