#include "OvrelConfig/ModuleHotkeyConflict.h"

#include <gtest/gtest.h>

using namespace ovrel;
using Conflict = ModuleHotkeyConflict;

namespace {

Hotkey cmdShiftK() {
    return Hotkey(40, false, true, false, true);
}

std::optional<Hotkey> parse(const char* text) {
    return Conflict::defaultHotkey(QString::fromUtf8(text));
}

} // namespace

TEST(ModuleHotkeyConflict, KeyNamesOfManifestDefaults) {
    const std::map<QString, qint64> expected = {
        {"a", 0},  {"s", 1},  {"d", 2},      {"f", 3},       {"h", 4},    {"g", 5},
        {"z", 6},  {"x", 7},  {"c", 8},      {"v", 9},       {"b", 11},   {"q", 12},
        {"w", 13}, {"e", 14}, {"r", 15},     {"y", 16},      {"t", 17},   {"o", 31},
        {"u", 32}, {"i", 34}, {"p", 35},     {"l", 37},      {"j", 38},   {"k", 40},
        {"n", 45}, {"m", 46}, {"space", 49}, {"return", 36}, {"tab", 48}, {"escape", 53},
    };
    EXPECT_EQ(Conflict::keycodes(), expected);
}

TEST(ModuleHotkeyConflict, ParsesDefaultsCaseInsensitively) {
    EXPECT_EQ(parse("Cmd+Shift+K"), cmdShiftK());
    EXPECT_EQ(parse("CMD+SHIFT+K"), cmdShiftK());
    EXPECT_EQ(parse("shift+command+k"), cmdShiftK());
    EXPECT_EQ(parse("ctrl+space"), Hotkey(49, true, false, false, false));
    EXPECT_EQ(parse("Control+Return"), Hotkey(36, true, false, false, false));
    EXPECT_EQ(parse("Option+Alt+Q"), Hotkey(12, false, false, true, false));
    EXPECT_EQ(parse("opt+tab"), Hotkey(48, false, false, true, false));
    EXPECT_EQ(parse("alt+Escape"), Hotkey(53, false, false, true, false));
    EXPECT_EQ(parse("ctrl+opt+shift+cmd+m"), Hotkey(46, true, true, true, true));
}

TEST(ModuleHotkeyConflict, EmptyPiecesAndRepeatedModifiersAreHarmless) {
    EXPECT_EQ(parse("cmd++k"), Hotkey(40, false, false, false, true));
    EXPECT_EQ(parse("+cmd+k+"), Hotkey(40, false, false, false, true));
    EXPECT_EQ(parse("cmd+cmd+command+k"), Hotkey(40, false, false, false, true));
}

TEST(ModuleHotkeyConflict, RefusesEverythingElse) {
    EXPECT_EQ(Conflict::defaultHotkey(std::nullopt), std::nullopt);
    for (const char* text : {
             "",          // empty
             "k",         // no modifier
             "+k+",       // one piece after dropping empty ones
             "cmd",       // a modifier alone
             "cmd+shift", // no key
             "k+cmd",     // the key must come last
             "cmd+1",     // digits cannot be named
             "cmd+f1",    // nor function keys
             "cmd+-",     // nor punctuation
             "cmd+enter", // only "return"
             "cmd+esc",   // only "escape"
             "super+k",   // unknown modifier
             "cmd+k+k",   // a key among the modifiers
             " cmd+k",    // no trimming
             "cmd+ k",
             "cmd-k",
         })
        EXPECT_EQ(parse(text), std::nullopt) << '"' << text << '"';
}

TEST(ModuleHotkeyConflict, ReservedCombinationsBelongToTheHub) {
    const Conflict::ModuleHotkeys modules = {{"alpha", {{"open", cmdShiftK()}}}};
    EXPECT_EQ(Conflict::holder(cmdShiftK(), {cmdShiftK()}, modules, std::nullopt),
              HotkeyHolder::ovrel());
    EXPECT_EQ(
        Conflict::holder(cmdShiftK(), {cmdShiftK()}, {}, Conflict::CommandRef{"alpha", "open"}),
        HotkeyHolder::ovrel());
    EXPECT_TRUE(Conflict::isTaken(cmdShiftK(), {cmdShiftK()}, {}, std::nullopt));
}

TEST(ModuleHotkeyConflict, FirstHolderInAscendingModuleAndCommandOrder) {
    const Conflict::ModuleHotkeys modules = {
        {"beta", {{"a", cmdShiftK()}}},
        {"alpha", {{"z", cmdShiftK()}, {"b", cmdShiftK()}}},
    };
    EXPECT_EQ(Conflict::holder(cmdShiftK(), {}, modules, std::nullopt),
              HotkeyHolder::module("alpha", "b"));
    EXPECT_EQ(Conflict::holder(cmdShiftK(), {}, modules, Conflict::CommandRef{"alpha", "b"}),
              HotkeyHolder::module("alpha", "z"));
}

TEST(ModuleHotkeyConflict, ExclusionSkipsOnlyThatExactPair) {
    const Hotkey other(40, false, false, false, true); // same key, fewer modifiers
    const Conflict::ModuleHotkeys modules = {{"m", {{"a", cmdShiftK()}, {"c", other}}}};
    // Re-recording the same shortcut for the same command is free.
    EXPECT_EQ(Conflict::holder(cmdShiftK(), {}, modules, Conflict::CommandRef{"m", "a"}),
              std::nullopt);
    EXPECT_FALSE(Conflict::isTaken(cmdShiftK(), {}, modules, Conflict::CommandRef{"m", "a"}));
    // Another command of the same module still holds it.
    EXPECT_EQ(Conflict::holder(cmdShiftK(), {}, modules, Conflict::CommandRef{"m", "b"}),
              HotkeyHolder::module("m", "a"));
    // A pair of another module does not hide this one.
    EXPECT_EQ(Conflict::holder(cmdShiftK(), {}, modules, Conflict::CommandRef{"n", "a"}),
              HotkeyHolder::module("m", "a"));
    EXPECT_TRUE(Conflict::isTaken(cmdShiftK(), {}, modules, Conflict::CommandRef{"m", "b"}));
}

TEST(ModuleHotkeyConflict, DifferentModifiersAreDifferentCombinations) {
    const Conflict::ModuleHotkeys modules = {{"m", {{"a", cmdShiftK()}}}};
    const std::vector<Hotkey> reserved = {Hotkey(40, true, true, false, false)};
    EXPECT_EQ(
        Conflict::holder(Hotkey(40, false, false, false, true), reserved, modules, std::nullopt),
        std::nullopt);
    EXPECT_EQ(
        Conflict::holder(Hotkey(41, false, true, false, true), reserved, modules, std::nullopt),
        std::nullopt);
    EXPECT_FALSE(
        Conflict::isTaken(Hotkey(40, false, true, true, true), reserved, modules, std::nullopt));
    EXPECT_FALSE(Conflict::isTaken(cmdShiftK(), {}, {}, std::nullopt));
}

TEST(HotkeyHolder, EqualityComparesKindAndPair) {
    EXPECT_EQ(HotkeyHolder::module("a", "b"), HotkeyHolder::module("a", "b"));
    EXPECT_NE(HotkeyHolder::module("a", "b"), HotkeyHolder::module("a", "c"));
    EXPECT_NE(HotkeyHolder::module("a", "b"), HotkeyHolder::module("x", "b"));
    EXPECT_NE(HotkeyHolder::module("", ""), HotkeyHolder::ovrel());
    EXPECT_EQ(HotkeyHolder::ovrel().kind(), HotkeyHolder::Kind::ovrel);
}
