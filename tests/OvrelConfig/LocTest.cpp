#include "OvrelConfig/Loc.h"
#include "OvrelConfig/LocKey.h"
#include "OvrelConfig/StringTable.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace ovrel;

TEST(LocKey, NamesFollowTheDeclarationOrder) {
    EXPECT_EQ(kLocKeyCount, 279);
    EXPECT_STREQ(locKeyName(LocKey::account), "account");
    EXPECT_STREQ(locKeyName(locKeyAt(0)), "account");
    EXPECT_STREQ(locKeyName(LocKey::settingsEllipsis), "settingsEllipsis");
    EXPECT_STREQ(locKeyName(LocKey::delete_), "delete");
    EXPECT_STREQ(locKeyName(locKeyAt(kLocKeyCount - 1)), "secureInputMenuItemWithAppFormat");
    EXPECT_EQ(locKeyIndex(LocKey::sync), 1);
    EXPECT_EQ(locKeyIndex(LocKey::newVersionAvailableFormat), 53);

    QSet<QString> names;
    for (int i = 0; i < kLocKeyCount; ++i)
        names.insert(QString::fromLatin1(locKeyName(locKeyAt(i))));
    EXPECT_EQ(names.size(), kLocKeyCount);
}

TEST(LocKey, ValueOutsideTheEnumerationHasNoName) {
    EXPECT_STREQ(locKeyName(static_cast<LocKey>(kLocKeyCount)), "?");
    EXPECT_STREQ(locKeyName(static_cast<LocKey>(-1)), "?");
}

TEST(LocLookup, FallsBackToTheSecondTableThenToTheMissingMarker) {
    const StringTable primary{{LocKey::save, "Sichern"}};
    const StringTable fallback{{LocKey::save, "Lưu"}, {LocKey::cancel, "Huỷ"}};

    EXPECT_EQ(Loc::lookup(LocKey::save, primary, fallback), QStringLiteral("Sichern"));
    EXPECT_EQ(Loc::lookup(LocKey::cancel, primary, fallback), QStringLiteral("Huỷ"));
    EXPECT_EQ(Loc::lookup(LocKey::delete_, primary, fallback),
              QStringLiteral("⚠️ missing: delete"));
    EXPECT_EQ(Loc::lookup(LocKey::account, StringTable{}, StringTable{}),
              QStringLiteral("⚠️ missing: account"));
}

TEST(LocLookup, TableKeepsTheFirstOfDuplicateEntries) {
    const StringTable table{{LocKey::save, "first"}, {LocKey::save, "second"}, {LocKey::view, ""}};
    EXPECT_EQ(table.size(), 2);
    ASSERT_EQ(table.duplicateKeys().size(), 1);
    EXPECT_EQ(table.duplicateKeys().first(), LocKey::save);
    EXPECT_EQ(*table.find(LocKey::save), QStringLiteral("first"));
    // An empty text is still a text: the table has the key.
    EXPECT_TRUE(table.contains(LocKey::view));
    EXPECT_FALSE(table.contains(LocKey::close));
    EXPECT_EQ(table.find(static_cast<LocKey>(kLocKeyCount)), nullptr);
}

TEST(LocLookup, TakesTheTableOfTheRequestedLanguage) {
    EXPECT_EQ(Loc::t(LocKey::quitOvrel, AppLanguage::en), QStringLiteral("Quit Ovrel"));
    EXPECT_EQ(Loc::t(LocKey::quitOvrel, AppLanguage::vi), QStringLiteral("Thoát Ovrel"));
    EXPECT_EQ(Loc::t(LocKey::quitOvrel, AppLanguage::fr), QStringLiteral("Quitter Ovrel"));
    EXPECT_EQ(Loc::t(LocKey::settingsGeneral, AppLanguage::ja), QStringLiteral("一般"));
    // A value cast from outside the enumeration reads the Vietnamese table.
    EXPECT_EQ(Loc::t(LocKey::quitOvrel, static_cast<AppLanguage>(42)),
              QStringLiteral("Thoát Ovrel"));
}

TEST(LocFormat, FillsPlaceholdersInOrder) {
    EXPECT_EQ(Loc::formatText(QStringLiteral("%@ has %d items"), {"Clock", "3"}),
              QStringLiteral("Clock has 3 items"));
    EXPECT_EQ(Loc::formatText(QStringLiteral("100%% of %@"), {"it"}), QStringLiteral("100% of it"));
    EXPECT_EQ(Loc::formatText(QStringLiteral("no placeholders"), {"unused"}),
              QStringLiteral("no placeholders"));
    EXPECT_EQ(Loc::formatText(QString(), {}), QString());
}

TEST(LocFormat, MissingArgumentsLeaveTheirPlaceholders) {
    EXPECT_EQ(Loc::formatText(QStringLiteral("%@ and %@ and %d"), {"one"}),
              QStringLiteral("one and %@ and %d"));
    EXPECT_EQ(Loc::formatText(QStringLiteral("%@ and %%"), {}), QStringLiteral("%@ and %"));
}

TEST(LocFormat, ArgumentsAreInsertedVerbatim) {
    // A placeholder inside an argument is not filled by the next argument.
    EXPECT_EQ(Loc::formatText(QStringLiteral("[%@] [%@]"), {"%@", "x"}),
              QStringLiteral("[%@] [x]"));
    EXPECT_EQ(Loc::formatText(QStringLiteral("%@"), {"50%%"}), QStringLiteral("50%%"));
}

TEST(LocFormat, UnknownConversionsAndTrailingPercentStayAsTheyAre) {
    EXPECT_EQ(Loc::formatText(QStringLiteral("%s %x %@ %"), {"a"}), QStringLiteral("%s %x a %"));
}

TEST(LocFormat, FormatsLocalizedTexts) {
    EXPECT_EQ(Loc::format(LocKey::appsHotkeyTakenByFormat, AppLanguage::en, {"Clock"}),
              QStringLiteral("Clock is already using this combination — pick another one."));
    EXPECT_EQ(Loc::format(LocKey::appsModuleInvalidMacOSFormat, AppLanguage::en, {"clock", "ten"}),
              QStringLiteral("Could not open clock: its manifest declares an invalid system "
                             "version requirement (\"ten\")"));
    EXPECT_EQ(Loc::format(LocKey::newVersionAvailableFormat, AppLanguage::vi, {"2.1.0"}),
              QStringLiteral("Có bản mới v2.1.0 — Tải về"));
    EXPECT_EQ(Loc::format(LocKey::menuTodayFormat, AppLanguage::en, {"1200", "45"}),
              QStringLiteral("Today: 1200 words · 45 wpm"));
}
