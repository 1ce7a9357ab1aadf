#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/settings/HubGeneralPane.h"
#include "OvrelHub/settings/ModulePane.h"
#include "OvrelHub/settings/PermissionsPane.h"
#include "OvrelHub/settings/SettingsWindowController.h"
#include "OvrelHub/settings/SidebarModel.h"
#include "OvrelHub/settings/SidebarRail.h"
#include "SettingsFixture.h"
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace ovrel;

namespace {

QStringList titles(const QList<SidebarItem>& items) {
    QStringList out;
    for (const SidebarItem& item : items)
        out.append(item.title + (item.pinnedToBottom ? "^" : ""));
    return out;
}

std::map<QString, ModuleManifest> byId(const QList<InstalledPair>& pairs) {
    std::map<QString, ModuleManifest> out;
    for (const InstalledPair& pair : pairs)
        out.emplace(pair.module.id, pair.manifest);
    return out;
}

class SettingsWindowTest : public test::SettingsFixture {
protected:
    ~SettingsWindowTest() override {
        if (controller.window())
            delete controller.window();
    }

    // Shows the window and waits until it drew the modules.
    SettingsView& open(SettingsRoute route = SettingsRoute::general()) {
        controller.show(nullptr, std::move(route));
        SettingsView* view = controller.view();
        EXPECT_TRUE(QTest::qWaitFor([view] { return view->pane() != nullptr; }));
        return *view;
    }

    void select(SettingsView& view, const SettingsRoute& route) {
        QToolButton* cell = view.rail()->cell(route);
        ASSERT_NE(cell, nullptr);
        QTest::mouseClick(cell, Qt::LeftButton);
    }

    SettingsWindowController controller{services()};
};

} // namespace

TEST_F(SettingsWindowTest, RailHasGeneralStorePermissionsModulesAndAccountInThatOrder) {
    install("zeta", test::settingsManifestJson("zeta"));
    install("alpha", test::settingsManifestJson("alpha", false, {"accessibility"}));
    install("broken", std::nullopt);
    const auto installed = state.load().installed;
    const auto manifests = byId(pairs);

    const bool declares = SidebarModel::anyPermissionDeclared(installed, manifests);
    EXPECT_TRUE(declares);
    const auto items =
        SidebarModel::items(nullptr, installed, manifests, AppLanguage::en, declares);
    EXPECT_EQ(titles(items), (QStringList{"General", "App Center", "System Permissions",
                                          "Clock alpha", "broken", "Clock zeta", "Account^"}));
    EXPECT_EQ(items[3].icon.appName, "alpha.app");
    EXPECT_EQ(items[4].route, SettingsRoute::module("broken"));

    std::map<QString, ModuleManifest> withoutPermissions = manifests;
    withoutPermissions.erase("alpha");
    EXPECT_FALSE(SidebarModel::anyPermissionDeclared(installed, withoutPermissions));
    EXPECT_EQ(
        titles(SidebarModel::items(nullptr, installed, withoutPermissions, AppLanguage::vi, false)),
        (QStringList{QString::fromUtf8("Chung"), QString::fromUtf8("Cửa hàng ứng dụng"), "alpha",
                     "broken", QString::fromUtf8("Đồng hồ zeta"),
                     QString::fromUtf8("Tài khoản^")}));
}

TEST_F(SettingsWindowTest, EveryRailCellShowsItsPane) {
    install("clock", test::settingsManifestJson("clock", false, {"screenRecording"}));
    SettingsView& view = open();
    EXPECT_EQ(controller.window()->windowTitle(), QString::fromUtf8("Ovrel — Settings"));
    EXPECT_NE(qobject_cast<HubGeneralPane*>(view.pane()), nullptr);

    select(view, SettingsRoute::store());
    EXPECT_EQ(view.pane()->objectName(), "storePane");
    select(view, SettingsRoute::permissions());
    EXPECT_NE(qobject_cast<PermissionsPane*>(view.pane()), nullptr);
    select(view, SettingsRoute::module("clock"));
    auto* modulePane = qobject_cast<ModulePane*>(view.pane());
    ASSERT_NE(modulePane, nullptr);
    EXPECT_EQ(modulePane->moduleId(), "clock");
    select(view, SettingsRoute::account());
    EXPECT_EQ(view.pane()->objectName(), "accountPane");
    EXPECT_TRUE(view.rail()->cell(SettingsRoute::account())->isChecked());
}

TEST_F(SettingsWindowTest, ArrowKeysMoveAlongTheRail) {
    install("clock", test::settingsManifestJson("clock"));
    SettingsView& view = open();
    QToolButton* general = view.rail()->cell(SettingsRoute::general());
    general->setFocus();
    QTest::keyClick(general, Qt::Key_Down);
    EXPECT_EQ(view.route(), SettingsRoute::store());
    QTest::keyClick(view.rail()->cell(SettingsRoute::store()), Qt::Key_Down);
    EXPECT_EQ(view.route(), SettingsRoute::module("clock"));
    QTest::keyClick(view.rail()->cell(SettingsRoute::module("clock")), Qt::Key_Up);
    EXPECT_EQ(view.route(), SettingsRoute::store());
}

TEST_F(SettingsWindowTest, UninstallingTheShownModuleSwitchesToTheStore) {
    install("clock", test::settingsManifestJson("clock"));
    SettingsView& view = open(SettingsRoute::module("clock"));
    ASSERT_NE(qobject_cast<ModulePane*>(view.pane()), nullptr);

    state.update([](ModulesState& s) { s.installed.clear(); });
    pairs.clear();
    QSignalSpy reloaded(&view, &SettingsView::reloaded);
    NotificationCenter::defaultCenter().post(QString::fromLatin1(ovrelModulesChanged));
    ASSERT_TRUE(reloaded.count() > 0 || reloaded.wait());

    EXPECT_EQ(view.safeRoute(), SettingsRoute::store());
    EXPECT_EQ(view.pane()->objectName(), "storePane");
    EXPECT_EQ(view.rail()->cell(SettingsRoute::module("clock")), nullptr);
}

TEST_F(SettingsWindowTest, ViewInStoreRoutesToTheModulesStorePage) {
    install("clock", test::settingsManifestJson("clock"));
    SettingsView& view = open(SettingsRoute::module("clock"));
    auto* pane = qobject_cast<ModulePane*>(view.pane());
    ASSERT_NE(pane, nullptr);
    QTest::mouseClick(pane->viewInStoreButton(), Qt::LeftButton);
    EXPECT_EQ(view.route(), SettingsRoute::store(StorePage::detail("clock")));
    EXPECT_TRUE(view.rail()->cell(SettingsRoute::store())->isChecked());
}

TEST_F(SettingsWindowTest, OneWindowCtrlWClosesItEscapeDoesNot) {
    open();
    QPointer<QWidget> first = controller.window();
    open(SettingsRoute::store());
    EXPECT_TRUE(QTest::qWaitFor([&first] { return first.isNull(); })) << "replaced";
    QWidget* window = controller.window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(controller.view()->route(), SettingsRoute::store());
    QApplication::setActiveWindow(window); // the window shortcut needs an active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return controller.window() == nullptr; }));
}

TEST_F(SettingsWindowTest, TheTitleFollowsTheLanguage) {
    open();
    settings.setAppLanguage(AppLanguage::vi);
    EXPECT_EQ(controller.window()->windowTitle(), QString::fromUtf8("Ovrel — Cài đặt"));
    EXPECT_TRUE(QTest::qWaitFor([this] {
        return controller.view()->rail()->cell(SettingsRoute::general())->toolTip() ==
               QString::fromUtf8("Chung");
    }));
}

TEST_F(SettingsWindowTest, TabReachesEveryControlOfTheModulePane) {
    install("clock", test::settingsManifestJson("clock"),
            [](InstalledModule& m) { m.hotkeys["show"] = Hotkey(40, true, false, false, false); });
    SettingsView& view = open(SettingsRoute::module("clock"));
    QWidget* window = controller.window();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    QList<QWidget*> controls;
    for (QWidget* widget : view.pane()->findChildren<QWidget*>()) {
        const bool interactive =
            qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
            qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget);
        if (interactive && widget->isVisible() && widget->isEnabled() &&
            !qobject_cast<QAbstractSpinBox*>(widget->parentWidget()))
            controls.append(widget);
    }
    ASSERT_GE(controls.size(), 10) << "links, switches, shortcut buttons and four settings";

    view.rail()->cell(SettingsRoute::module("clock"))->setFocus(Qt::TabFocusReason);
    QSet<QWidget*> reached;
    for (int i = 0; i < 40 && reached.size() < controls.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        for (QWidget* control : controls) {
            if (control == focused || control->isAncestorOf(focused))
                reached.insert(control);
        }
    }
    for (QWidget* control : controls)
        EXPECT_TRUE(reached.contains(control)) << control->metaObject()->className();
}
