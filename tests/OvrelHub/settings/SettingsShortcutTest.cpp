#include "OvrelHub/settings/SettingsShortcut.h"
#include "OvrelHub/settings/HotkeyRow.h"
#include "OvrelHub/settings/ModulePane.h"
#include "OvrelHub/settings/SettingsWindowController.h"
#include "Platform/tray/MenuKeyEquivalents.h"
#include "SettingsFixture.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace ovrel;

namespace {

class SettingsShortcutTest : public test::SettingsFixture {
protected:
    ~SettingsShortcutTest() override { delete controller.window(); }

    static void pressCtrlComma(QWidget* target) {
        QTest::keyClick(target, Qt::Key_Comma, Qt::ControlModifier);
    }

    SettingsWindowController controller{services()};
    int opened = 0;
    SettingsShortcut shortcut{[this] { ++opened; }, [this] { return controller.window(); }};
};

} // namespace

TEST_F(SettingsShortcutTest, CtrlCommaInAnyOtherWindowOfTheHubOpensTheSettings) {
    QWidget window;
    auto* field = new QLineEdit(&window);
    window.show();
    field->setFocus();
    pressCtrlComma(field);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(field->text().isEmpty()) << "the key is taken, not typed";
    QTest::keyClick(field, Qt::Key_Comma);
    EXPECT_EQ(field->text(), ",");
    QTest::keyClick(field, Qt::Key_Comma, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(opened, 1) << "only Ctrl with the comma";
}

TEST_F(SettingsShortcutTest, InTheSettingsWindowTheKeyKeepsThePaneInUse) {
    install("clock", test::settingsManifestJson("clock"));
    controller.show(nullptr, SettingsRoute::module("clock"));
    SettingsView* view = controller.view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->pane() != nullptr; }));
    QWidget* window = controller.window();
    pressCtrlComma(view->pane());
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(controller.window(), window);
    EXPECT_EQ(view->route(), SettingsRoute::module("clock"));
}

TEST_F(SettingsShortcutTest, TheOpenMenuAndARecordingShortcutGetTheKeyThemselves) {
    QMenu menu;
    QAction* settingsItem = menu.addAction("Settings…");
    settingsItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    int chosen = 0;
    QObject::connect(settingsItem, &QAction::triggered, [&chosen] { ++chosen; });
    MenuKeyEquivalents::install(menu);
    menu.popup(QPoint(0, 0));
    pressCtrlComma(&menu);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(opened, 0) << "the menu's item, not a second opening";

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* row = new HotkeyRow(
        "Show", std::nullopt, [](const Hotkey&) { return true; }, [] {}, AppLanguage::en);
    layout->addWidget(row);
    window.show();
    QTest::mouseClick(row->keyButton(), Qt::LeftButton);
    pressCtrlComma(row->keyButton());
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(row->hotkey(),
              Hotkey(KeyCodes::fromQtKey(Qt::Key_Comma).value(), true, false, false, false));
}
