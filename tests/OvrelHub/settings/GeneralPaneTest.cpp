#include "LocalService.h"
#include "OvrelHub/settings/HubGeneralPane.h"
#include "OvrelHub/update/VersionChecker.h"
#include "Platform/system/SystemLog.h"
#include "SettingsFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace ovrel;

namespace {

class GeneralPaneTest : public test::SettingsFixture {
protected:
    std::unique_ptr<HubGeneralPane> pane() {
        auto made = std::make_unique<HubGeneralPane>(services(), AppLanguage::en);
        made->show();
        return made;
    }

    // The manual check asks this feed.
    void useFeed(std::optional<QUrl> feed) {
        services().makeVersionChecker = [this, feed](QObject* owner) {
            return new VersionChecker({}, {network, [feed] { return feed; }, "1.0.0"}, owner);
        };
    }

    void choose(QComboBox* picker, const QVariant& data) {
        const int index = picker->findData(data);
        ASSERT_GE(index, 0);
        picker->setCurrentIndex(index);
        emit picker->activated(index);
    }

    ServiceNetwork network;
};

} // namespace

TEST_F(GeneralPaneTest, LaunchAtLoginWritesAndRemovesTheAutostartEntry) {
    auto shown = pane();
    EXPECT_FALSE(shown->launchAtLoginSwitch()->isChecked());
    test::clickSwitch(shown->launchAtLoginSwitch());
    EXPECT_TRUE(QFile::exists(dir.file("config/autostart/vn.ovrel.lite.desktop")));
    EXPECT_TRUE(shown->launchAtLoginSwitch()->isChecked());
    test::clickSwitch(shown->launchAtLoginSwitch());
    EXPECT_FALSE(QFile::exists(dir.file("config/autostart/vn.ovrel.lite.desktop")));
}

TEST_F(GeneralPaneTest, AFailedLaunchAtLoginIsLoggedAndTheSwitchShowsTheTruth) {
    XdgAutostartLoginItem unusable(QStringLiteral("vn.ovrel.lite"), QStringLiteral("Ovrel"),
                                   QStringLiteral("relative/ovrel-lite"));
    SettingsServices broken = services();
    SettingsServices withUnusable{broken.settings,
                                  broken.center,
                                  broken.workspace,
                                  broken.state,
                                  broken.moduleSettings,
                                  unusable,
                                  broken.installedManifests,
                                  broken.runner,
                                  broken.makeVersionChecker,
                                  broken.showWhatsNew,
                                  broken.moduleSettingsChanged,
                                  nullptr,
                                  nullptr,
                                  nullptr,
                                  "1.0.0"};
    HubGeneralPane shown(withUnusable, AppLanguage::en);
    shown.show();
    SystemLogCapture log;
    test::clickSwitch(shown.launchAtLoginSwitch());
    EXPECT_FALSE(shown.launchAtLoginSwitch()->isChecked());
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].startsWith(
        QString::fromUtf8("Ovrel: launch-at-login lỗi (chạy ngoài .app bundle?): ")));
}

TEST_F(GeneralPaneTest, DebugLoggingLanguageAndPresentationWriteTheHubSettings) {
    auto shown = pane();
    test::clickSwitch(shown->debugLogSwitch());
    EXPECT_TRUE(settings.debugLog());

    QSignalSpy posted(&NotificationCenter::defaultCenter(), &NotificationCenter::posted);
    choose(shown->languagePicker(), static_cast<int>(AppLanguage::ja));
    EXPECT_EQ(defaults.string("appLanguage"), "ja");
    EXPECT_TRUE(posted.contains(QVariantList{QString::fromLatin1(HubSettings::kLanguageChanged)}));
    QTest::mouseClick(shown->automaticLanguageButton(), Qt::LeftButton);
    EXPECT_EQ(defaults.string("appLanguage"),
              AppLanguages::rawValue(AppLanguages::systemDefault()));

    EXPECT_TRUE(shown->columnsPicker()->isVisible()) << "grid by default";
    choose(shown->presentationPicker(), static_cast<int>(MenuPresentation::list));
    EXPECT_EQ(defaults.string("menuPresentation"), "list");
    EXPECT_FALSE(shown->columnsPicker()->isVisible());
    EXPECT_FALSE(shown->rowsPicker()->isVisible());

    choose(shown->presentationPicker(), static_cast<int>(MenuPresentation::grid));
    choose(shown->columnsPicker(), 5);
    choose(shown->rowsPicker(), 1);
    EXPECT_EQ(settings.menuGridLayout(), (HubSettings::GridLayout{1, 5}));
    EXPECT_TRUE(
        posted.contains(QVariantList{QString::fromLatin1(HubSettings::kMenuLayoutChanged)}));
}

TEST_F(GeneralPaneTest, ManualCheckShowsEachOutcomeAndIsDisabledWhileRunning) {
    test::LocalService service({"--newest-version", "1.3.0"});
    ASSERT_TRUE(service.isRunning());
    auto shown = pane();
    EXPECT_EQ(shown->currentVersionLabel()->text(), "Current version: 1.0.0");
    QSignalSpy finished(shown.get(), &HubGeneralPane::manualCheckFinished);

    useFeed(service.url("api/version?product=lite&platform=macos"));
    QTest::mouseClick(shown->checkButton(), Qt::LeftButton);
    EXPECT_FALSE(shown->checkButton()->isEnabled());
    EXPECT_EQ(shown->updateStatusLabel()->text(), QString::fromUtf8("Checking…"));
    ASSERT_TRUE(finished.wait());
    EXPECT_TRUE(shown->checkButton()->isEnabled());
    EXPECT_EQ(shown->updateStatusLabel()->text(), "Version 1.3.0 is available.");
    ASSERT_TRUE(shown->whatsNewButton()->isVisible());
    QTest::mouseClick(shown->whatsNewButton(), Qt::LeftButton);
    ASSERT_EQ(whatsNewShown.size(), 1);
    EXPECT_EQ(whatsNewShown[0].version, "1.3.0");
}

TEST_F(GeneralPaneTest, ManualCheckSaysUpToDateOrThatTheConnectionFailed) {
    test::LocalService service({"--newest-version", "1.0.0"});
    ASSERT_TRUE(service.isRunning());
    services().runningVersion.clear();
    auto shown = pane();
    EXPECT_EQ(shown->currentVersionLabel()->text(), QString::fromUtf8("Current version: —"));
    QSignalSpy finished(shown.get(), &HubGeneralPane::manualCheckFinished);

    useFeed(service.url("api/version?product=lite&platform=macos"));
    QTest::mouseClick(shown->checkButton(), Qt::LeftButton);
    ASSERT_TRUE(finished.wait());
    EXPECT_EQ(shown->updateStatusLabel()->text(), "You're on the latest version.");
    EXPECT_FALSE(shown->whatsNewButton()->isVisible());

    auto failing = pane();
    QSignalSpy failed(failing.get(), &HubGeneralPane::manualCheckFinished);
    useFeed(std::nullopt);
    QTest::mouseClick(failing->checkButton(), Qt::LeftButton);
    ASSERT_TRUE(failed.wait());
    EXPECT_EQ(failing->updateStatusLabel()->text(), "Couldn't connect, try again.");
    EXPECT_TRUE(failing->checkButton()->isEnabled());
}
