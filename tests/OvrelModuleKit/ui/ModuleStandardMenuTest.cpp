#include "OvrelModuleKitUI/ModuleStandardMenu.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace ModuleStandardMenu = ovrel::ModuleStandardMenu;

namespace {

struct Item {
    QString title;
    QKeySequence key;
    bool separator = false;
    bool operator==(const Item&) const = default;
};

std::vector<Item> itemsOf(const QMenu* menu) {
    std::vector<Item> items;
    for (const QAction* action : menu->actions())
        items.push_back({action->text(), action->shortcut(), action->isSeparator()});
    return items;
}

QAction* actionTitled(const QMenuBar* bar, const QString& title) {
    for (QAction* menuAction : bar->actions())
        for (QAction* action : menuAction->menu()->actions())
            if (action->text() == title)
                return action;
    return nullptr;
}

} // namespace

TEST(ModuleStandardMenuTest, ApplicationMenuAndEditMenuInOrder) {
    ModuleStandardMenu::install();
    ASSERT_TRUE(ModuleStandardMenu::isInstalled());
    const QMenuBar* bar = ModuleStandardMenu::mainMenu();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 2);

    const QString name = ModuleStandardMenu::applicationName();
    const QMenu* application = bar->actions().at(0)->menu();
    EXPECT_EQ(application->title(), name);
    EXPECT_EQ(itemsOf(application),
              (std::vector<Item>{{"Quit " + name, QKeySequence(Qt::CTRL | Qt::Key_Q)}}));

    const QMenu* edit = bar->actions().at(1)->menu();
    EXPECT_EQ(edit->title(), "Edit");
    EXPECT_EQ(itemsOf(edit), (std::vector<Item>{
                                 {"Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
                                 {"Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
                                 {"", QKeySequence(), true},
                                 {"Cut", QKeySequence(Qt::CTRL | Qt::Key_X)},
                                 {"Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
                                 {"Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
                                 {"Select All", QKeySequence(Qt::CTRL | Qt::Key_A)},
                             }));
}

TEST(ModuleStandardMenuTest, NameIsTheProcessNameOutsideABundle) {
    EXPECT_EQ(ModuleStandardMenu::applicationName(),
              QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

TEST(ModuleStandardMenuTest, InstallingAgainReplacesTheMenu) {
    ModuleStandardMenu::install();
    ModuleStandardMenu::install();
    EXPECT_EQ(ModuleStandardMenu::mainMenu()->actions().size(), 2);
}

TEST(ModuleStandardMenuTest, EditActionsGoToTheFocusedWidget) {
    ModuleStandardMenu::install();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new QLineEdit("first");
    auto* second = new QLineEdit("second");
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    second->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == second; }));

    const QMenuBar* bar = ModuleStandardMenu::mainMenu();
    actionTitled(bar, "Select All")->trigger();
    EXPECT_EQ(second->selectedText(), "second");
    EXPECT_FALSE(first->hasSelectedText());

    actionTitled(bar, "Cut")->trigger();
    EXPECT_EQ(second->text(), "");
    actionTitled(bar, "Undo")->trigger();
    EXPECT_EQ(second->text(), "second");
    actionTitled(bar, "Redo")->trigger();
    EXPECT_EQ(second->text(), "");
    EXPECT_EQ(first->text(), "first");
}

TEST(ModuleStandardMenuTest, AttachGivesAWindowItsOwnCopy) {
    ModuleStandardMenu::install();
    QMainWindow window;
    ModuleStandardMenu::attach(&window);
    auto* bar = qobject_cast<QMenuBar*>(window.menuWidget());
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(bar, ModuleStandardMenu::mainMenu());
    ASSERT_EQ(bar->actions().size(), 2);
    EXPECT_EQ(itemsOf(bar->actions().at(1)->menu()).size(), 7u);
}
