#include "OvrelHub/settings/ModulePane.h"
#include "../resident/FakeResidentControl.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/resident/ResidentStatusCheck.h"
#include "OvrelHub/resident/ResidentSwitch.h"
#include "OvrelHub/settings/HotkeyRow.h"
#include "OvrelHub/settings/Int64SpinBox.h"
#include "OvrelHub/settings/ModuleSettingsForm.h"
#include "OvrelHub/settings/PaneStyle.h"
#include "OvrelHub/settings/SettingsFormLayout.h"
#include "OvrelHub/shortcuts/DesktopEntryBackend.h"
#include "OvrelHub/shortcuts/ShortcutManager.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "Platform/notify/DarwinNotify.h"
#include "Platform/plist/PlistCodec.h"
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

// The real background and shortcut services over launchd in memory and a
// throw-away applications folder.
class ModulePaneWithServicesTest : public ModulePaneTest {
protected:
    ModulePaneWithServicesTest() {
        services().residentSwitch = &residentSwitch;
        services().residentStatus = &residentStatus;
        services().shortcuts = &shortcuts;
    }
    ~ModulePaneWithServicesTest() override {
        services().residentSwitch = nullptr;
        services().residentStatus = nullptr;
        services().shortcuts = nullptr;
    }

    // Installs the module with a bundle whose Info.plist names its program.
    void installBundle(const QString& id, bool resident, bool residentEnabled = true) {
        install(id, test::settingsManifestJson(id, resident),
                [residentEnabled](InstalledModule& m) { m.residentEnabled = residentEnabled; });
        test::writeFile(paths.bundle(id, id + ".app") + "/Contents/Info.plist",
                        PlistCodec::toXml(QVariantMap{{"CFBundleExecutable", id}}));
    }

    // Clicks the switch and waits until the agent work finished and the
    // status line says `text`.
    static bool toggleAndWait(ModulePane& shown, const QString& text) {
        test::clickSwitch(shown.backgroundSwitch());
        QCheckBox* box = shown.backgroundSwitch();
        QLabel* status = shown.backgroundStatus();
        return QTest::qWaitFor([box, status, &text] {
            return box->isEnabled() && status->isVisible() && status->text() == text;
        });
    }

    static bool isWarning(const QLabel* label) {
        return label->palette().color(QPalette::WindowText) == PaneStyle::warningColor();
    }

    test::FakeResidentControl control;
    ResidentModuleService resident{paths, dir.file("LaunchAgents"), control};
    ResidentSwitch residentSwitch{state, resident};
    ResidentStatusCheck residentStatus{state, resident};
    DesktopEntryBackend desktopEntries;
    ShortcutManager shortcuts{state, desktopEntries, dir.file("applications")};
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
    EXPECT_EQ(row->keyButton()->text(), "Ctrl+K") << "as the desktop writes it";
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

TEST_F(ModulePaneTest, WithoutTheirServicesTheBackgroundAndApplicationsSwitchesAreLeftOut) {
    install("pulse", test::settingsManifestJson("pulse", true));
    auto shown = pane("pulse");
    EXPECT_EQ(shown->backgroundSwitch(), nullptr);
    EXPECT_EQ(shown->applicationsSwitch(), nullptr);
    EXPECT_NE(shown->quickAccessSwitch(), nullptr);
}

TEST_F(ModulePaneWithServicesTest, OnlyResidentModulesHaveABackgroundSwitch) {
    installBundle("clock", false);
    auto onDemand = pane("clock");
    EXPECT_EQ(onDemand->backgroundSwitch(), nullptr);
    EXPECT_EQ(onDemand->backgroundStatus(), nullptr);
    EXPECT_NE(onDemand->applicationsSwitch(), nullptr);
    install("broken", std::nullopt);
    EXPECT_EQ(pane("broken")->backgroundSwitch(), nullptr) << "no manifest, no mode";
}

TEST_F(ModulePaneWithServicesTest, TheBackgroundSwitchRegistersTheAgentAndTheStatusFollows) {
    installBundle("pulse", true);
    auto shown = pane("pulse");
    ASSERT_NE(shown->backgroundSwitch(), nullptr);
    EXPECT_TRUE(shown->backgroundSwitch()->isChecked()) << "wanted, though no agent is loaded";
    QLabel* status = shown->backgroundStatus();
    ASSERT_TRUE(QTest::qWaitFor([status] { return status->isVisible(); }));
    EXPECT_EQ(status->text(), QString::fromUtf8("Không bật được chạy nền"));
    EXPECT_TRUE(isWarning(status));

    QSignalSpy posted(&NotificationCenter::defaultCenter(), &NotificationCenter::posted);
    ASSERT_TRUE(toggleAndWait(*shown, QString::fromUtf8("Đã tắt chạy nền")));
    EXPECT_FALSE(shown->backgroundSwitch()->isChecked());
    EXPECT_FALSE(state.load().installed.at("pulse").residentEnabled);
    EXPECT_FALSE(isWarning(status));
    EXPECT_TRUE(posted.contains(QVariantList{QString::fromLatin1(ovrelModulesChanged)}));

    ASSERT_TRUE(toggleAndWait(*shown, QString::fromUtf8("Đang chạy nền")));
    EXPECT_TRUE(shown->backgroundSwitch()->isChecked());
    EXPECT_TRUE(state.load().installed.at("pulse").residentEnabled);
    EXPECT_TRUE(control.isLoaded("vn.ovrel.module.pulse"));
    EXPECT_TRUE(QFile::exists(resident.plistFile("pulse")));
    EXPECT_FALSE(isWarning(status));
}

TEST_F(ModulePaneWithServicesTest, AnAgentThatCannotBeChangedIsLoggedAndShownInOrange) {
    installBundle("pulse", true, false);
    auto shown = pane("pulse");
    EXPECT_FALSE(shown->backgroundSwitch()->isChecked());
    SystemLogCapture log;
    control.failBootstrap = true;
    ASSERT_TRUE(toggleAndWait(*shown, QString::fromUtf8("Không bật được chạy nền")));
    EXPECT_TRUE(shown->backgroundSwitch()->isChecked()) << "the choice is kept for the next start";
    EXPECT_TRUE(isWarning(shown->backgroundStatus()));
    EXPECT_TRUE(log.contains(QString::fromUtf8(
        "Ovrel: đổi công tắc chạy nền cho module pulse thất bại: launchctlFailed(5)")));

    // Loaded, then it will not unload: the module still runs and the line says so.
    control.failBootstrap = false;
    resident.registerModule("pulse", paths.bundle("pulse", "pulse.app"));
    control.failBootout = true;
    ASSERT_TRUE(toggleAndWait(*shown, QString::fromUtf8("Không tắt được chạy nền")));
    EXPECT_FALSE(shown->backgroundSwitch()->isChecked());
    EXPECT_TRUE(isWarning(shown->backgroundStatus()));
}

TEST_F(ModulePaneWithServicesTest, TheApplicationsSwitchMakesALauncherOrGoesBack) {
    installBundle("clock", false);
    auto shown = pane("clock");
    QCheckBox* box = shown->applicationsSwitch();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(box->text(), "Show in applications menu");

    const QString launcher = dir.file("applications/Ovrel Clock clock.desktop");
    test::clickSwitch(box);
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(QFile::exists(launcher));
    EXPECT_TRUE(state.load().installed.at("clock").shortcutEnabled);
    test::clickSwitch(box);
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(QFile::exists(launcher));

    // A file where the applications folder belongs: no launcher can be made.
    QDir(dir.file("applications")).removeRecursively();
    test::writeFile(dir.file("applications"), "x");
    SystemLogCapture log;
    test::clickSwitch(box);
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(state.load().installed.at("clock").shortcutEnabled);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(
        log.lines()[0].startsWith(QString::fromUtf8("Ovrel: không tạo được lối tắt cho clock: ")))
        << qPrintable(log.lines()[0]);
}

TEST_F(ModulePaneWithServicesTest, ALauncherTheUserDeletedShowsAsOff) {
    installBundle("clock", false);
    shortcuts.set(true, "clock", QString("Clock clock"));
    ASSERT_TRUE(state.load().installed.at("clock").shortcutEnabled);
    QFile::remove(dir.file("applications/Ovrel Clock clock.desktop"));
    auto shown = pane("clock");
    EXPECT_FALSE(shown->applicationsSwitch()->isChecked());
    EXPECT_FALSE(state.load().installed.at("clock").shortcutEnabled);
}

TEST_F(ModulePaneWithServicesTest, AModuleWithoutAManifestGetsALauncherUnderItsId) {
    install("broken", std::nullopt);
    test::writeFile(paths.bundle("broken", "broken.app") + "/Contents/Info.plist",
                    PlistCodec::toXml(QVariantMap{{"CFBundleExecutable", "broken"}}));
    auto shown = pane("broken");
    test::clickSwitch(shown->applicationsSwitch());
    EXPECT_TRUE(QFile::exists(dir.file("applications/Ovrel broken.desktop")));
}
