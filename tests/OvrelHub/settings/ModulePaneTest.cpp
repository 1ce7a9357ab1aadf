#include "OvrelHub/settings/ModulePane.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/settings/HotkeyRow.h"
#include "OvrelHub/settings/Int64SpinBox.h"
#include "OvrelHub/settings/ModuleSettingsForm.h"
#include "OvrelHub/settings/SettingsFormLayout.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "Platform/notify/DarwinNotify.h"
#include "Platform/system/SystemLog.h"
#include "SettingsFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace ovrel;

namespace {

class ModulePaneTest : public test::SettingsFixture {
protected:
    std::unique_ptr<ModulePane> pane(const QString& id) {
        ModulePane::Inputs inputs;
        inputs.moduleId = id;
        for (const InstalledPair& pair : pairs) {
            inputs.installedManifests.emplace(pair.module.id, pair.manifest);
            if (pair.module.id == id)
                inputs.manifest = pair.manifest;
        }
        inputs.language = AppLanguage::en;
        auto made =
            std::make_unique<ModulePane>(services(), std::move(inputs), [this] { ++viewInStore; });
        made->show();
        return made;
    }

    std::optional<SettingsMap> storedSettings(const QString& id) {
        return ModuleSettingsStore::readFile(paths.settingsFile(id));
    }

    int viewInStore = 0;
};

struct FakeBackground : ModuleBackgroundControl {
    Status status(const QString&) override { return next; }
    void setEnabled(const QString& id, bool enabled) override { calls.append({id, enabled}); }
    Status next{QString::fromUtf8("Không bật được chạy nền"), true};
    QList<QPair<QString, bool>> calls;
};

} // namespace

TEST(SettingsFormLayout, UngroupedFirstThenGroupsInManifestOrderWithoutEmptyOnes) {
    QJsonObject manifest = test::minimalManifest();
    QJsonObject inG1 = test::boolSetting("a");
    inG1["group"] = "g1";
    QJsonObject inG2 = test::boolSetting("b");
    inG2["group"] = "g2";
    QJsonObject alsoG1 = test::boolSetting("c");
    alsoG1["group"] = "g1";
    manifest["settings"] =
        QJsonArray{inG1, test::boolSetting("free1"), inG2, alsoG1, test::boolSetting("free2")};
    manifest["settingGroups"] =
        QJsonArray{QJsonObject{{"id", "g2"}, {"label", test::texts("Hai", "Two")}},
                   QJsonObject{{"id", "g1"}, {"label", test::texts("Một", "One")}},
                   QJsonObject{{"id", "g3"}, {"label", test::texts("Ba", "Three")}}};
    const ModuleManifest loaded = ModuleManifest::load(test::toBytes(manifest), "clock");

    const auto sections = SettingsFormLayout::sections(loaded.settings(), loaded.settingGroups());
    ASSERT_EQ(sections.size(), 3);
    EXPECT_FALSE(sections[0].title);
    auto keys = [](const SettingsSection& section) {
        QStringList out;
        for (const SettingSpec& spec : section.settings)
            out.append(spec.key());
        return out;
    };
    EXPECT_EQ(keys(sections[0]), (QStringList{"free1", "free2"}));
    EXPECT_EQ(sections[1].title->text("en"), "Two");
    EXPECT_EQ(keys(sections[1]), (QStringList{"b"}));
    EXPECT_EQ(keys(sections[2]), (QStringList{"a", "c"}));
}

TEST_F(ModulePaneTest, EachSettingKindSavesAtOnceAndNotifiesTheModule) {
    install("clock", test::settingsManifestJson("clock"));
    int notifications = 0;
    const auto observation = DarwinNotify::observe(ModuleNotify::settingsName("clock"),
                                                   [&notifications] { ++notifications; });
    auto shown = pane("clock");
    ModuleSettingsForm* form = shown->settingsForm();
    ASSERT_NE(form, nullptr);

    auto* seconds = qobject_cast<QCheckBox*>(form->control("seconds"));
    ASSERT_NE(seconds, nullptr);
    EXPECT_TRUE(seconds->isChecked()) << "the default";
    test::clickSwitch(seconds);
    EXPECT_EQ(storedSettings("clock")->value("seconds"), SettingValue::fromBool(false));

    auto* style = qobject_cast<QComboBox*>(form->control("style"));
    ASSERT_NE(style, nullptr);
    style->setFocus();
    QTest::keyClick(style, Qt::Key_Up); // digital -> analog
    EXPECT_EQ(storedSettings("clock")->value("style"), SettingValue::fromString("analog"));

    auto* size = qobject_cast<Int64SpinBox*>(form->control("size"));
    ASSERT_NE(size, nullptr);
    size->stepBy(1);
    EXPECT_EQ(storedSettings("clock")->value("size"), SettingValue::fromInt(4));

    auto* format = qobject_cast<QLineEdit*>(form->control("format"));
    ASSERT_NE(format, nullptr);
    format->clear();
    QTest::keyClicks(format, "abcdef");
    EXPECT_EQ(format->text(), "abcd");
    EXPECT_EQ(storedSettings("clock")->value("format"), SettingValue::fromString("abcd"));

    EXPECT_GE(moduleSettingsChanges, 4) << "the settings sync hears of every edit";
    EXPECT_TRUE(QTest::qWaitFor([&notifications] { return notifications > 0; }))
        << "the running module hears of the change";
}

TEST_F(ModulePaneTest, AnIntegerOutOfRangeShowsTheDefaultAndSteppingStaysInRange) {
    install("clock", test::settingsManifestJson("clock"));
    moduleSettings.save({{"size", SettingValue::fromInt(9)}}, "clock");
    auto shown = pane("clock");
    auto* size = qobject_cast<Int64SpinBox*>(shown->settingsForm()->control("size"));
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->value(), 3);
    for (int i = 0; i < 5; ++i)
        size->stepBy(1);
    EXPECT_EQ(size->value(), 5);
    size->stepBy(-10);
    EXPECT_EQ(storedSettings("clock")->value("size"), SettingValue::fromInt(1));
}

TEST_F(ModulePaneTest, AFailedSaveIsLoggedAndTheEditStays) {
    install("clock", test::settingsManifestJson("clock"));
    auto shown = pane("clock");
    // A directory where the settings file should be makes the write fail.
    QDir().mkpath(paths.settingsFile("clock") + "/blocked");
    SystemLogCapture log;
    auto* seconds = qobject_cast<QCheckBox*>(shown->settingsForm()->control("seconds"));
    test::clickSwitch(seconds);
    EXPECT_FALSE(seconds->isChecked());
    const QStringList lines = log.lines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(
        lines[0].startsWith(QString::fromUtf8("Ovrel: lưu cấu hình module clock thất bại: ")))
        << qPrintable(lines[0]);
}

TEST_F(ModulePaneTest, RecordingTakesOnlyModifiedKeysAndRefusesATakenCombination) {
    const Hotkey taken(40, false, true, false, true); // ⇧⌘K
    install("clock", test::settingsManifestJson("clock"));
    install("notes", test::settingsManifestJson("notes"),
            [&taken](InstalledModule& m) { m.hotkeys["show"] = taken; });
    auto shown = pane("clock");
    ASSERT_EQ(shown->hotkeyRows().size(), 2);
    HotkeyRow* row = shown->hotkeyRows()[0];
    EXPECT_EQ(row->keyButton()->text(), "Not assigned");
    EXPECT_FALSE(row->deleteButton()->isEnabled());

    QTest::mouseClick(row->keyButton(), Qt::LeftButton);
    EXPECT_EQ(row->keyButton()->text(), QString::fromUtf8("Press a key…"));
    QTest::keyClick(row->keyButton(), Qt::Key_K);
    QTest::keyClick(row->keyButton(), Qt::Key_Escape);
    EXPECT_TRUE(row->isRecording()) << "plain keys cannot be assigned";

    QTest::keyClick(row->keyButton(), Qt::Key_K, Qt::ShiftModifier | Qt::MetaModifier);
    EXPECT_FALSE(row->isRecording());
    EXPECT_FALSE(row->hotkey());
    EXPECT_TRUE(shown->hotkeyWarning()->isVisible());
    EXPECT_EQ(
        shown->hotkeyWarning()->text(),
        QString::fromUtf8("Clock notes is already using this combination — pick another one."));
    EXPECT_FALSE(state.load().installed.at("clock").hotkeys.count("show"));

    QSignalSpy changed(&NotificationCenter::defaultCenter(), &NotificationCenter::posted);
    QTest::mouseClick(row->keyButton(), Qt::LeftButton);
    QTest::keyClick(row->keyButton(), Qt::Key_J, Qt::ShiftModifier | Qt::MetaModifier);
    const Hotkey recorded(38, false, true, false, true); // ⇧⌘J
    EXPECT_EQ(row->hotkey(), recorded);
    EXPECT_FALSE(shown->hotkeyWarning()->isVisible());
    EXPECT_EQ(state.load().installed.at("clock").hotkeys.at("show"), recorded);
    EXPECT_TRUE(changed.contains(QVariantList{QString::fromLatin1(ovrelModulesChanged)}));
}

TEST_F(ModulePaneTest, AShortcutOfAnotherCommandOfTheSameModuleNamesThatCommand) {
    install("clock", test::settingsManifestJson("clock"),
            [](InstalledModule& m) { m.hotkeys["show"] = Hotkey(40, true, false, false, false); });
    auto shown = pane("clock");
    HotkeyRow* hide = shown->hotkeyRows()[1];
    QTest::mouseClick(hide->keyButton(), Qt::LeftButton);
    QTest::keyClick(hide->keyButton(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(shown->hotkeyWarning()->text(),
              QString::fromUtf8("Show is already using this combination — pick another one."));
}

TEST_F(ModulePaneTest, DeletingAShortcutRecordsTheCommandAsCleared) {
    install("clock", test::settingsManifestJson("clock"),
            [](InstalledModule& m) { m.hotkeys["show"] = Hotkey(40, true, false, false, false); });
    auto shown = pane("clock");
    HotkeyRow* row = shown->hotkeyRows()[0];
    EXPECT_EQ(row->keyButton()->text(), QString::fromUtf8("⌃K"));
    QTest::mouseClick(row->deleteButton(), Qt::LeftButton);
    const InstalledModule entry = state.load().installed.at("clock");
    EXPECT_FALSE(entry.hotkeys.count("show"));
    EXPECT_TRUE(entry.clearedHotkeys.count("show"));
    EXPECT_EQ(row->keyButton()->text(), "Not assigned");
}

TEST_F(ModulePaneTest, QuickAccessIsStoredAndTheMenuIsToldToRebuild) {
    install("clock", test::settingsManifestJson("clock"));
    auto shown = pane("clock");
    QSignalSpy posted(&NotificationCenter::defaultCenter(), &NotificationCenter::posted);
    test::clickSwitch(shown->quickAccessSwitch());
    EXPECT_TRUE(state.load().installed.at("clock").quickAccessEnabled);
    EXPECT_TRUE(shown->quickAccessSwitch()->isChecked());
    EXPECT_TRUE(posted.contains(QVariantList{QString::fromLatin1(ovrelModulesChanged)}));
}

TEST_F(ModulePaneTest, OpenAppSendsOpenAndABrokenModuleKeepsItsSwitches) {
    install("broken", std::nullopt);
    auto shown = pane("broken");
    EXPECT_EQ(shown->settingsForm(), nullptr);
    EXPECT_TRUE(shown->hotkeyRows().isEmpty());
    ASSERT_NE(shown->quickAccessSwitch(), nullptr);
    QTest::mouseClick(shown->openAppButton(), Qt::LeftButton);
    ASSERT_EQ(runner.sent.size(), 1);
    EXPECT_EQ(runner.sent[0].command, "open");
    EXPECT_FALSE(runner.sent[0].argument);
    EXPECT_EQ(runner.sent[0].moduleId, "broken");
    QTest::mouseClick(shown->viewInStoreButton(), Qt::LeftButton);
    EXPECT_EQ(viewInStore, 1);
}

TEST_F(ModulePaneTest, TheBackgroundSwitchIsOnlyForResidentModulesWithAControl) {
    install("clock", test::settingsManifestJson("clock"));
    install("pulse", test::settingsManifestJson("pulse", true));
    EXPECT_EQ(pane("pulse")->backgroundSwitch(), nullptr) << "hidden without the service";

    FakeBackground background;
    services().background = &background;
    EXPECT_EQ(pane("clock")->backgroundSwitch(), nullptr) << "on demand";

    auto shown = pane("pulse");
    ASSERT_NE(shown->backgroundSwitch(), nullptr);
    QLabel* status = shown->backgroundStatus();
    ASSERT_TRUE(QTest::qWaitFor([status] { return status->isVisible(); }));
    EXPECT_EQ(status->text(), QString::fromUtf8("Không bật được chạy nền"));

    background.next = {QString::fromUtf8("Đã tắt chạy nền"), false};
    test::clickSwitch(shown->backgroundSwitch());
    ASSERT_TRUE(QTest::qWaitFor(
        [status] { return status->text() == QString::fromUtf8("Đã tắt chạy nền"); }));
    EXPECT_EQ(background.calls, (QList<QPair<QString, bool>>{{"pulse", false}}));
    EXPECT_EQ(shown->backgroundStatus()->text(), QString::fromUtf8("Đã tắt chạy nền"));
    services().background = nullptr;
}
