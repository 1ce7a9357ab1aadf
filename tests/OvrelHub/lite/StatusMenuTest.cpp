#include "FakeWorkspace.h"
#include "OvrelConfig/HubLanguage.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "OvrelLite/LiteAppDelegate.h"
#include "Platform/system/SystemLog.h"
#include "Platform/tray/MenuText.h"
#include "Platform/tray/QtMenuRenderer.h"
#include "TestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

struct StatusMenuFixture : ::testing::Test {
    test::TempDir dir;
    UserDefaults defaults{QStringLiteral("vn.ovrel.lite"), dir.path()};
    HubSettings settings{defaults, NotificationCenter::defaultCenter(),
                         [] { return AppLanguage::vi; }};
    test::FakeWorkspace workspace;
    LiteAppDelegate delegate{HubController::Collaborators{
        settings, workspace, ModulePaths(dir.file("root")), nullptr, {}, {}}};

    static QStringList ids(const StatusMenuModel& model) {
        QStringList out;
        for (const auto& item : model)
            out.append(item.kind == StatusMenuItem::Kind::separator ? "---" : item.id);
        return out;
    }
};

} // namespace

TEST_F(StatusMenuFixture, NoModulesGivesSeparatorSettingsGuideQuit) {
    const StatusMenuModel model = delegate.buildMenu();
    EXPECT_EQ(ids(model), (QStringList{"---", "settings", "user-guide", "quit"}));
    EXPECT_EQ(model[1].title, QString::fromUtf8("Cài đặt…"));
    EXPECT_EQ(model[1].keyEquivalent, ",");
    EXPECT_EQ(model[2].title, QString::fromUtf8("Hướng dẫn sử dụng"));
    EXPECT_TRUE(model[2].keyEquivalent.isEmpty());
    EXPECT_EQ(model[2].symbol, "book.closed");
    EXPECT_EQ(model[3].title, QString::fromUtf8("Thoát Ovrel"));
    EXPECT_EQ(model[3].keyEquivalent, "q");
    // Dynamic menus would go right after the opening separator.
    EXPECT_EQ(delegate.hub().dynamicInsertAfter(), model[0].id);
}

TEST_F(StatusMenuFixture, TitlesFollowTheLanguageAtBuildTime) {
    defaults.set("appLanguage", "en");
    const StatusMenuModel model = delegate.buildMenu();
    EXPECT_EQ(model[1].title, QString::fromUtf8("Settings…"));
    EXPECT_EQ(model[2].title, "User Guide");
    EXPECT_EQ(model[3].title, "Quit Ovrel");
    EXPECT_EQ(HubLanguage::current(), AppLanguage::en)
        << "the controller installs the language provider";
}

TEST_F(StatusMenuFixture, UpdateBannerComesFirstWhenAReleaseIsKnown) {
    defaults.set("appLanguage", "en");
    int shown = 0;
    delegate.hub().setWhatsNewPresenter([&](const UpdateRelease& r) {
        EXPECT_EQ(r.version, "2.0.1");
        ++shown;
    });
    delegate.hub().setLatestRelease(UpdateRelease{"2.0.1", QUrl("https://x/y.dmg"), "", {}, {}});
    const StatusMenuModel model = delegate.buildMenu();
    EXPECT_EQ(ids(model),
              (QStringList{"update-banner", "---", "---", "settings", "user-guide", "quit"}));
    EXPECT_EQ(model[0].title, QString::fromUtf8("New version v2.0.1 available — Download"));
    EXPECT_TRUE(model[0].keyEquivalent.isEmpty());
    model[0].action();
    EXPECT_EQ(shown, 1);
}

TEST_F(StatusMenuFixture, UserGuideOpensBuiltInBaseWithLanguagePrefix) {
    defaults.set("apiBaseURL", "http://127.0.0.1:1"); // never used for the guide
    defaults.set("appLanguage", "en");
    delegate.buildMenu()[2].action();
    defaults.set("appLanguage", "vi");
    delegate.buildMenu()[2].action();
    ASSERT_EQ(workspace.opened.size(), 2);
    EXPECT_EQ(workspace.opened[0].toString(), ServiceEndpoints::builtInBase() + "/en/guide");
    EXPECT_EQ(workspace.opened[1].toString(), ServiceEndpoints::builtInBase() + "/guide");
}

TEST_F(StatusMenuFixture, RenderedMenuReadsBackAsTheModel) {
    defaults.set("appLanguage", "en");
    delegate.hub().setLatestRelease(UpdateRelease{"9.9", QUrl(), "", {}, {}});
    const StatusMenuModel model = delegate.buildMenu();
    QMenu menu;
    QtMenuRenderer::render(model, menu);
    EXPECT_EQ(MenuText::fromMenu(menu), MenuText::fromModel(model));
    EXPECT_EQ(
        MenuText::fromModel(model),
        QString::fromUtf8("New version v9.9 available — Download\n---\n---\nSettings…\tCtrl+,\n"
                          "User Guide\nQuit Ovrel\tCtrl+Q\n"));
    QAction* settingsAction = QtMenuRenderer::findById(menu, "settings");
    ASSERT_NE(settingsAction, nullptr);
    EXPECT_EQ(settingsAction->shortcut(), QKeySequence("Ctrl+,"));
}

TEST_F(StatusMenuFixture, LaunchInstallsMenuAndRebuildsOnLayoutAndLanguageChanges) {
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    ASSERT_NE(delegate.statusItem(), nullptr);
    QPointer<QMenu> first = delegate.statusItem()->menu();
    ASSERT_TRUE(first);
    EXPECT_EQ(delegate.statusItem()->accessibilityDescription(), "Ovrel");
    EXPECT_FALSE(delegate.statusItem()->image().isNull());

    settings.setAppLanguage(AppLanguage::en);
    QMenu* second = delegate.statusItem()->menu();
    EXPECT_NE(second, first.data()) << "a language change builds a new menu";
    EXPECT_TRUE(MenuText::fromMenu(*second).contains("Quit Ovrel"));

    settings.setMenuPresentation(MenuPresentation::list);
    EXPECT_NE(delegate.statusItem()->menu(), second);

    // Opening the menu tells the hub which menu is hosted.
    QMenu* current = delegate.statusItem()->menu();
    emit current->aboutToShow();
    EXPECT_EQ(delegate.hub().hostedMenu(), current);
}

TEST_F(StatusMenuFixture, OtherBuildInstalledStopsTheLaunchBeforeTheTray) {
    test::writeFile(dir.file("opt/app/ovrel"), "elf");
    workspace.applications.insert("vn.ovrel.app", dir.file("opt/app/ovrel"));
    int asked = 0;
    delegate.setOtherBuildPresenter([&](const OtherBuildAlert::Texts&) {
        ++asked;
        return OtherBuildAlert::Choice::quit;
    });
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(delegate.statusItem(), nullptr) << "nothing after the guard runs";
    // The guard asked the application to exit while no loop ran, which would end
    // every later test's event loop at once; running (and ending) the
    // application's loop clears the request.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

TEST_F(StatusMenuFixture, ARebuildWhileTheMenuIsOpenWaitsUntilItCloses) {
    delegate.setTrayAvailability([] { return true; });
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    QPointer<QMenu> open = delegate.statusItem()->menu();
    open->popup(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(open));

    settings.setAppLanguage(AppLanguage::en);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(open);
    EXPECT_TRUE(open->isVisible()) << "never closed under the user's pointer";
    EXPECT_EQ(delegate.statusItem()->menu(), open.data());
    EXPECT_TRUE(MenuText::fromMenu(*open).contains(QString::fromUtf8("Thoát Ovrel")));

    open->close();
    QMenu* next = delegate.statusItem()->menu();
    ASSERT_NE(next, open.data());
    EXPECT_TRUE(MenuText::fromMenu(*next).contains("Quit Ovrel"));
    emit next->aboutToShow();
    EXPECT_EQ(delegate.hub().hostedMenu(), next);
}

TEST_F(StatusMenuFixture, WithoutATrayHostTheLogSaysOnceHowToReachTheMenu) {
    SystemLogCapture log;
    delegate.setTrayAvailability([] { return false; });
    delegate.applicationWillFinishLaunching();
    delegate.applicationDidFinishLaunching();
    settings.setAppLanguage(AppLanguage::en); // a rebuild says nothing more
    const QStringList lines = log.lines().filter("--print-menu");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("Ovrel: "));
    EXPECT_TRUE(lines[0].contains("--send"));
}

TEST_F(StatusMenuFixture, AUserGuideThatCannotBeOpenedIsLogged) {
    SystemLogCapture log;
    workspace.canOpenURLs = false;
    delegate.buildMenu()[2].action();
    const QStringList lines = log.lines().filter(ServiceEndpoints::builtInBase() + "/guide");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8("Ovrel: không mở được hướng dẫn sử dụng")));
}
