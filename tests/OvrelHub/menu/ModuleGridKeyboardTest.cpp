#include "OvrelHub/menu/ModuleGridView.h"
#include "Platform/tray/QtMenuRenderer.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

// A popped-up status menu: an item, a grid of five modules in three columns
// (rows of 3 and 2), an item. The grid is drawn by the menu as on screen.
struct GridMenuFixture : ::testing::Test {
    QStringList opened;
    QMenu menu;
    ModuleGridView* grid = nullptr;

    GridMenuFixture() {
        std::vector<std::vector<ModuleGridCell>> rows(2);
        for (int i = 0; i < 5; ++i) {
            const QString id = QStringLiteral("m%1").arg(i);
            rows[i / 3].push_back(
                ModuleGridCell{id, "Name " + id, "Summary", {}, [this, id] { opened.append(id); }});
        }
        StatusMenuItem above;
        above.id = "above";
        above.title = "Above";
        StatusMenuItem view;
        view.kind = StatusMenuItem::Kind::customView;
        view.id = "grid";
        view.makeView = [rows](QWidget* parent) { return new ModuleGridView(rows, 3, parent); };
        StatusMenuItem below;
        below.id = "below";
        below.title = "Below";
        QtMenuRenderer::render({above, view, below}, menu);
        menu.popup(QPoint(20, 20));
        if (QTest::qWaitForWindowExposed(&menu))
            grid = menu.findChild<ModuleGridView*>();
    }

    void press(int key) { QTest::keyClick(menu.windowHandle(), Qt::Key(key)); }
    QStringList ringed() const {
        QStringList out;
        for (const CellButton* cell : grid->cells())
            if (cell->hasKeyboardFocus())
                out.append(cell->cell().id);
        return out;
    }
};

} // namespace

TEST_F(GridMenuFixture, ArrowKeysMoveIntoAcrossAndOutOfTheGrid) {
    ASSERT_NE(grid, nullptr);
    press(Qt::Key_Down);
    EXPECT_EQ(QtMenuRenderer::idOf(*menu.activeAction()), "above");
    EXPECT_TRUE(ringed().isEmpty());

    press(Qt::Key_Down);
    EXPECT_TRUE(grid->hasFocus()) << "the menu hands the grid the keyboard";
    EXPECT_EQ(ringed(), QStringList{"m0"});
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    press(Qt::Key_Right); // stops at the row's end, no submenu opens
    EXPECT_EQ(ringed(), QStringList{"m2"});
    press(Qt::Key_Down); // the shorter last row: its last cell
    EXPECT_EQ(ringed(), QStringList{"m4"});
    press(Qt::Key_Left);
    EXPECT_EQ(ringed(), QStringList{"m3"});

    press(Qt::Key_Down);
    EXPECT_EQ(QtMenuRenderer::idOf(*menu.activeAction()), "below");
    EXPECT_TRUE(ringed().isEmpty()) << "the ring leaves with the keyboard";

    press(Qt::Key_Up);
    EXPECT_EQ(ringed(), QStringList{"m3"}) << "entering from below starts on the last row";
    press(Qt::Key_Up);
    EXPECT_EQ(ringed(), QStringList{"m0"});
    press(Qt::Key_Up);
    EXPECT_EQ(QtMenuRenderer::idOf(*menu.activeAction()), "above");
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(GridMenuFixture, ReturnOrSpaceOpensTheFocusedModuleAndEscapeCloses) {
    ASSERT_NE(grid, nullptr);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Right);
    press(Qt::Key_Return);
    press(Qt::Key_Down);
    press(Qt::Key_Space);
    EXPECT_EQ(opened, (QStringList{"m1", "m4"}));
    EXPECT_TRUE(menu.isVisible());
    press(Qt::Key_Escape);
    EXPECT_FALSE(menu.isVisible());
}

TEST_F(GridMenuFixture, HoverAndFocusAreClearedWhenTheMenuCloses) {
    ASSERT_NE(grid, nullptr);
    CellButton* cell = grid->cells()[1];
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(cell, &enter);
    EXPECT_TRUE(cell->hovering());
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    ASSERT_EQ(ringed(), QStringList{"m0"});

    menu.close(); // closed by a click: no leave event reaches the cell
    EXPECT_FALSE(cell->hovering());
    menu.popup(QPoint(20, 20));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    EXPECT_FALSE(cell->hovering());
    EXPECT_TRUE(ringed().isEmpty());
}

TEST(ModuleGridTextTest, CellTextsAreSingleLinesOfPlainText) {
    ModuleGridView grid({{ModuleGridCell{"x", "Rock & Roll\tLive", "two\nlines <b>x</b>", {}, {}}}},
                        2);
    const CellButton* cell = grid.cells()[0];
    EXPECT_EQ(cell->cell().title, "Rock & Roll Live");
    EXPECT_EQ(cell->cell().subtitle, "two lines <b>x</b>");
    EXPECT_FALSE(cell->toolTip().contains("<b>"));
    // The title reads like a list item: the menu's font, not a fixed point size.
    QMenu menu;
    QFont menuFont = menu.font();
    menuFont.setPixelSize(17);
    ModuleGridView inMenu({{ModuleGridCell{"x", "T", "S", {}, {}}}}, 2);
    inMenu.setFont(menuFont);
    EXPECT_EQ(inMenu.cells()[0]->titleFont().pixelSize(), 17);
    EXPECT_LT(inMenu.cells()[0]->subtitleFont().pixelSize(), 17);
}
