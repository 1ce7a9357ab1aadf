#include "OvrelModuleKitUI/ModuleWindow.h"
#include "OvrelModuleKit/launch/ModuleDockPresence.h"
#include "OvrelModuleKitUI/ModuleStandardMenu.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

using ovrel::ModuleDockPresence;
using ovrel::ModuleWindow::bringToFront;
using ovrel::ModuleWindow::holdsPresence;
using ovrel::ModuleWindow::make;
using Policy = ovrel::ModuleDockPresence::Policy;

namespace {

class ModuleWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ModuleDockPresence::reset();
        ModuleDockPresence::setReleaseDelay(0.01);
    }
    void TearDown() override {
        ModuleDockPresence::reset();
        ModuleDockPresence::setReleaseDelay(0.5);
    }

    static std::unique_ptr<QMainWindow> window(const QString& title = "Clock") {
        return make(title, QSize(320, 200), QSize(200, 120), new QLabel("12:00"));
    }
    // The window has handled its close event and the presence has heard of it.
    static void closeAndSettle(QWidget* w) {
        w->close();
        QCoreApplication::processEvents();
    }
};

// A window that refuses to close, like one asking about unsaved changes.
class StubbornWindow : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

TEST_F(ModuleWindowTest, MakeBuildsAWindowAroundTheContent) {
    auto content = new QLabel("12:00");
    auto w = make("Clock", QSize(320, 200), QSize(200, 120), content);
    EXPECT_EQ(w->windowTitle(), "Clock");
    EXPECT_EQ(w->centralWidget(), content);
    const Qt::WindowFlags flags = w->windowFlags();
    for (Qt::WindowType flag : {Qt::WindowTitleHint, Qt::WindowCloseButtonHint,
                                Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint})
        EXPECT_TRUE(flags.testFlag(flag)) << flag;
    EXPECT_FALSE(w->isVisible()); // shown only when brought forward
    EXPECT_EQ(ModuleDockPresence::count(), 0);
}

TEST_F(ModuleWindowTest, ContentGetsTheRequestedSizes) {
    ovrel::ModuleStandardMenu::install(); // windows then carry a menu bar on top
    auto w = window();
    bringToFront(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_EQ(w->centralWidget()->size(), QSize(320, 200));
    w->resize(10, 10);
    QCoreApplication::processEvents();
    EXPECT_GE(w->centralWidget()->width(), 200);
    EXPECT_GE(w->centralWidget()->height(), 120);
}

TEST_F(ModuleWindowTest, BringToFrontShowsActivatesAndHolds) {
    auto w = window();
    bringToFront(w.get());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(holdsPresence(w.get()));
    EXPECT_EQ(ModuleDockPresence::count(), 1);
    EXPECT_EQ(ModuleDockPresence::policy(), Policy::regular);
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
}

TEST_F(ModuleWindowTest, ClosingOneOfTwoWindowsKeepsThePresence) {
    auto first = window("One");
    auto second = window("Two");
    bringToFront(first.get());
    bringToFront(second.get());
    ASSERT_EQ(ModuleDockPresence::count(), 2);

    closeAndSettle(first.get());
    EXPECT_EQ(ModuleDockPresence::count(), 1);
    EXPECT_FALSE(ModuleDockPresence::hasPendingHide());

    closeAndSettle(second.get());
    EXPECT_EQ(ModuleDockPresence::count(), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return ModuleDockPresence::policy() == Policy::accessory; }));
}

TEST_F(ModuleWindowTest, BringingAnOpenWindowForwardAgainCountsOnce) {
    auto w = window();
    bringToFront(w.get());
    bringToFront(w.get());
    EXPECT_EQ(ModuleDockPresence::count(), 1);
    closeAndSettle(w.get());
    EXPECT_EQ(ModuleDockPresence::count(), 0);
    EXPECT_TRUE(ModuleDockPresence::hasPendingHide());
}

TEST_F(ModuleWindowTest, AWindowNeverBroughtForwardReleasesNothing) {
    auto held = window("Held");
    auto other = window("Other");
    bringToFront(held.get());
    other->show();
    closeAndSettle(other.get());
    EXPECT_EQ(ModuleDockPresence::count(), 1);
    EXPECT_TRUE(holdsPresence(held.get()));
}

TEST_F(ModuleWindowTest, ReopenedWindowHoldsAgain) {
    auto w = window();
    bringToFront(w.get());
    closeAndSettle(w.get());
    EXPECT_FALSE(holdsPresence(w.get()));
    bringToFront(w.get());
    EXPECT_TRUE(holdsPresence(w.get()));
    EXPECT_EQ(ModuleDockPresence::count(), 1);
    EXPECT_FALSE(ModuleDockPresence::hasPendingHide());
}

TEST_F(ModuleWindowTest, RefusedCloseKeepsTheHold) {
    StubbornWindow stubborn;
    bringToFront(&stubborn);
    closeAndSettle(&stubborn);
    EXPECT_TRUE(stubborn.isVisible());
    EXPECT_EQ(ModuleDockPresence::count(), 1);
}

TEST_F(ModuleWindowTest, DestroyingAHeldWindowReleases) {
    auto w = window();
    bringToFront(w.get());
    w.reset();
    EXPECT_EQ(ModuleDockPresence::count(), 0);
    EXPECT_TRUE(ModuleDockPresence::hasPendingHide());
}

TEST_F(ModuleWindowTest, WindowsCarryTheStandardMenuOnceInstalled) {
    ovrel::ModuleStandardMenu::install();
    auto w = window();
    ASSERT_NE(w->menuWidget(), nullptr);
    const auto* bar = qobject_cast<QMenuBar*>(w->menuWidget());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 2);
    EXPECT_EQ(bar->actions().at(1)->text(), "Edit");
}
