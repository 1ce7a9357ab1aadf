#include "FakeNotificationServer.h"
#include "FakeWorkspace.h"
#include "LocalService.h"
#include "OvrelHub/settings/HubGeneralPane.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/update/UpdatePreferences.h"
#include "OvrelHub/update/WhatsNewWindowController.h"
#include "OvrelLite/LiteAppDelegate.h"
#include "TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

struct SettingsAndUpdatesTest : ::testing::Test {
    ~SettingsAndUpdatesTest() override {
        UserDefaults::standard().remove(UpdatePreferences::kUpdateFeedURL);
        UserDefaults::standard().remove(UpdatePreferences::kLastNotifiedVersion);
        if (auto* window = delegate.windows()->settingsWindow().window())
            delete window;
        delete WhatsNewWindowController::shared().window();
    }

    const StatusMenuItem* item(const StatusMenuModel& model, const QString& id) {
        for (const StatusMenuItem& entry : model) {
            if (entry.id == id)
                return &entry;
        }
        return nullptr;
    }

    test::TempDir dir;
    UserDefaults defaults{QStringLiteral("vn.ovrel.lite"), dir.path()};
    HubSettings settings{defaults, NotificationCenter::defaultCenter(),
                         [] { return AppLanguage::en; }};
    test::FakeWorkspace workspace;
    ModuleStateStore state{ModulePaths(dir.file("root"))};
    LiteAppDelegate delegate{HubController::Collaborators{
        settings, workspace, ModulePaths(dir.file("root")), &state, {}, {}}};
};

} // namespace

TEST_F(SettingsAndUpdatesTest, TheSettingsItemOpensTheSettingsWindowAtTheGeneralPane) {
    delegate.applicationWillFinishLaunching();
    const StatusMenuModel menu = delegate.buildMenu();
    const StatusMenuItem* settingsItem = item(menu, "settings");
    ASSERT_NE(settingsItem, nullptr);
    settingsItem->action();

    SettingsWindowController& controller = delegate.windows()->settingsWindow();
    ASSERT_NE(controller.window(), nullptr);
    EXPECT_TRUE(controller.window()->isVisible());
    EXPECT_EQ(controller.window()->windowTitle(), QString::fromUtf8("Ovrel — Settings"));
    SettingsView* view = controller.view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->pane() != nullptr; }));
    EXPECT_NE(qobject_cast<HubGeneralPane*>(view->pane()), nullptr);
}

TEST_F(SettingsAndUpdatesTest, AFoundReleaseShowsTheBannerOneNotificationAndWhatsNew) {
    test::FakeNotificationServer notifications;
    ASSERT_TRUE(notifications.isRunning());
    test::LocalService service({"--newest-version", "99.0.0", "--release-notes-lang",
                                "en=Everything is faster", "--published-at",
                                "2026-12-01T08:00:00Z"});
    ASSERT_TRUE(service.isRunning());
    UserDefaults::standard().set(UpdatePreferences::kUpdateFeedURL,
                                 service.url("api/version").toString());
    defaults.set("appLanguage", "en");

    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    // The first check waits until the first menu holds the modules.
    EXPECT_EQ(delegate.windows()->versionChecker(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([this] { return delegate.windows()->versionChecker(); }, 15000));
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return item(delegate.buildMenu(), "update-banner") != nullptr; }, 15000));
    const StatusMenuModel menu = delegate.buildMenu();
    EXPECT_EQ(menu.front().title, QString::fromUtf8("New version v99.0.0 available — Download"));

    ASSERT_TRUE(QTest::qWaitFor([&notifications] { return !notifications.shown().isEmpty(); }));
    EXPECT_EQ(notifications.shown()[0].summary, "Ovrel 99.0.0 is available");
    EXPECT_EQ(UpdatePreferences::lastNotifiedVersion(UserDefaults::standard()), "99.0.0");

    menu.front().action();
    WhatsNewView* whatsNew = WhatsNewWindowController::shared().window();
    ASSERT_NE(whatsNew, nullptr);
    EXPECT_TRUE(whatsNew->isVisible());
    EXPECT_EQ(whatsNew->content().version, "Version 99.0.0");
    EXPECT_EQ(whatsNew->content().date, "2026-12-01");
    EXPECT_EQ(whatsNew->content().notes, "Everything is faster");
}

TEST_F(SettingsAndUpdatesTest, CtrlCommaInWhatsNewOpensTheSettingsWindow) {
    delegate.applicationWillFinishLaunching();
    UpdateRelease release;
    release.version = "9.9.0";
    WhatsNewWindowController::shared().show(release);
    WhatsNewView* whatsNew = WhatsNewWindowController::shared().window();
    ASSERT_NE(whatsNew, nullptr);
    ASSERT_EQ(delegate.windows()->settingsWindow().window(), nullptr);
    QTest::keyClick(whatsNew, Qt::Key_Comma, Qt::ControlModifier);
    QWidget* settingsWindow = delegate.windows()->settingsWindow().window();
    ASSERT_NE(settingsWindow, nullptr);
    EXPECT_TRUE(settingsWindow->isVisible());
}
