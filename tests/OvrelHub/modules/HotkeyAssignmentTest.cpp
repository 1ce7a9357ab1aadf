#include "OvrelHub/modules/ModuleHotkeyEditor.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/store/StoreModel.h"
#include "Platform/notify/NotificationCenter.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

const Hotkey kCmdShiftK(40, false, true, false, true);
const Hotkey kCtrlSpace(49, true, false, false, false);

MenuEntry entry(const QString& command, std::optional<QString> hotkeyDefault) {
    MenuEntry e;
    e.command = command;
    e.hotkeyDefault = std::move(hotkeyDefault);
    return e;
}

ModuleManifest manifest(const QString& id, const QString& enName, const QStringList& commands) {
    QJsonArray menu;
    for (const QString& c : commands)
        menu.append(QJsonObject{
            {"command", c}, {"label", QJsonObject{{"vi", "Lệnh " + c}, {"en", "Command " + c}}}});
    const QJsonObject json{{"id", id},
                           {"version", "1.0.0"},
                           {"minHostVersion", "0.1.0"},
                           {"name", QJsonObject{{"vi", "Tên " + id}, {"en", enName}}},
                           {"summary", QJsonObject{{"vi", "x"}, {"en", "x"}}},
                           {"menu", menu},
                           {"settings", QJsonArray{}}};
    return ModuleManifest::load(QJsonDocument(json).toJson(), id);
}

} // namespace

TEST(DefaultHotkeyAssignment, AssignsFreeDefaultsInManifestOrder) {
    const QList<MenuEntry> menu{entry("open", "cmd+shift+k"), entry("new", "ctrl+space"),
                                entry("bad", "cmd+1"), entry("none", std::nullopt)};
    const auto result = StoreModel::defaultHotkeyAssignment("clock", menu, {}, {}, {}, {});
    EXPECT_EQ(result, (CommandHotkeys{{"open", kCmdShiftK}, {"new", kCtrlSpace}}));
}

TEST(DefaultHotkeyAssignment, KeepsCurrentSkipsClearedAndTakenCombinations) {
    const QList<MenuEntry> menu{entry("open", "cmd+shift+k"), entry("new", "ctrl+space"),
                                entry("two", "ctrl+space")};
    // "open" already has a shortcut; "new" was cleared by the user; "two" wants a free one.
    auto result =
        StoreModel::defaultHotkeyAssignment("clock", menu, {{"open", kCtrlSpace}}, {"new"}, {}, {});
    EXPECT_EQ(result, (CommandHotkeys{{"open", kCtrlSpace}}))
        << "ctrl+space is already this module's";

    // Held by another module or reserved: not assigned, no message.
    result = StoreModel::defaultHotkeyAssignment("clock", menu, {}, {},
                                                 {{"pulse", {{"go", kCmdShiftK}}}}, {kCtrlSpace});
    EXPECT_TRUE(result.empty());
    // The module's own stale entry in othersHotkeys is replaced by the assignment being built.
    result = StoreModel::defaultHotkeyAssignment("clock", menu, {}, {},
                                                 {{"clock", {{"old", kCmdShiftK}}}}, {});
    EXPECT_EQ(result.at("open"), kCmdShiftK);
}

namespace {
struct EditorFixture : ::testing::Test {
    test::TempDir dir;
    ModuleStateStore store{ModulePaths(dir.path())};
    NotificationCenter center;
    std::vector<Hotkey> reserved;
    ModuleHotkeyEditor editor{store, center,
                              [](const QString& id) -> std::optional<ModuleManifest> {
                                  if (id == "clock")
                                      return manifest("clock", "Clock", {"open", "alarm"});
                                  if (id == "pulse")
                                      return manifest("pulse", "Pulse", {"go"});
                                  return std::nullopt;
                              },
                              [this] { return reserved; }};
    int posted = 0;
    void SetUp() override {
        QObject::connect(&center, &NotificationCenter::posted, [this](const QString& n) {
            if (n == "vn.ovrel.modulesChanged")
                ++posted;
        });
        ModulesState state;
        for (const char* id : {"clock", "pulse", "ghost"}) {
            InstalledModule m;
            m.id = id;
            m.version = "1.0.0";
            m.appName = QString(id) + ".app";
            state.installed.emplace(id, m);
        }
        state.installed["clock"].clearedHotkeys.insert("open");
        state.installed["pulse"].hotkeys.emplace("go", kCtrlSpace);
        state.installed["clock"].hotkeys.emplace("alarm", kCmdShiftK);
        state.installed["ghost"].hotkeys.emplace("x", Hotkey(0, true, true, true, true));
        store.save(state);
    }
};
} // namespace

TEST_F(EditorFixture, FreeCombinationIsStoredAndLeavesTheClearedSet) {
    const Hotkey hotkey(12, true, false, true, false);
    const auto decision = editor.record("clock", "open", hotkey, AppLanguage::en);
    EXPECT_TRUE(decision.accepted);
    const auto clock = store.load().installed.at("clock");
    EXPECT_EQ(clock.hotkeys.at("open"), hotkey);
    EXPECT_FALSE(clock.clearedHotkeys.count("open"));
    EXPECT_EQ(posted, 1);
    // Recording the command's own combination again is not a conflict.
    EXPECT_TRUE(editor.record("clock", "open", hotkey, AppLanguage::en).accepted);
}

TEST_F(EditorFixture, RefusalNamesTheHolder) {
    auto decision = editor.record("clock", "open", kCtrlSpace, AppLanguage::en);
    EXPECT_FALSE(decision.accepted);
    EXPECT_EQ(decision.message,
              QString::fromUtf8("Pulse is already using this combination — pick another one."));
    decision = editor.record("clock", "open", kCmdShiftK, AppLanguage::vi);
    EXPECT_EQ(decision.message,
              QString::fromUtf8("Lệnh alarm đang dùng tổ hợp này — chọn tổ hợp khác."))
        << "another command of the same module is named by its label";
    decision = editor.record("clock", "open", Hotkey(0, true, true, true, true), AppLanguage::en);
    EXPECT_EQ(decision.message,
              QString::fromUtf8("That combination is already in use — pick another one."))
        << "a holder whose manifest cannot be read has no name";
    reserved = {Hotkey(3, true, false, false, false)};
    decision =
        editor.record("clock", "open", Hotkey(3, true, false, false, false), AppLanguage::en);
    EXPECT_EQ(decision.message,
              QString::fromUtf8("That combination is already in use — pick another one."));
    EXPECT_EQ(posted, 0);
    EXPECT_FALSE(store.load().installed.at("clock").hotkeys.count("open"));
}

TEST_F(EditorFixture, RemovingRecordsTheCommandAsCleared) {
    editor.remove("clock", "alarm");
    const auto clock = store.load().installed.at("clock");
    EXPECT_FALSE(clock.hotkeys.count("alarm"));
    EXPECT_TRUE(clock.clearedHotkeys.count("alarm"));
    EXPECT_EQ(posted, 1);
}

TEST_F(EditorFixture, AModuleWithoutAStateEntryGetsNoShortcutAndNoChangeIsAnnounced) {
    const ModulesState before = store.load();
    const auto decision =
        editor.record("gone", "open", Hotkey(12, true, false, true, false), AppLanguage::en);
    EXPECT_FALSE(decision.accepted);
    EXPECT_EQ(decision.message, "Not installed");
    editor.remove("gone", "open");
    EXPECT_EQ(posted, 0);
    EXPECT_EQ(store.load(), before);
    EXPECT_FALSE(store.load().installed.count("gone"));
}
