#include "Platform/tray/QtMenuRenderer.h"
#include "Platform/tray/MenuLabel.h"
#include "Platform/tray/MenuText.h"
#include "Platform/tray/TwoLineMenuStyle.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

StatusMenuItem item(const QString& id, const QString& title, const QString& subtitle = {}) {
    StatusMenuItem out;
    out.id = id;
    out.title = title;
    out.subtitle = subtitle;
    return out;
}

// The rows as the menu lays them out, as QMenu's own key handling sees them.
int rowWidth(QMenu& menu, QAction* action) {
    menu.ensurePolished();
    menu.adjustSize();
    return menu.actionGeometry(action).width();
}

} // namespace

TEST(QtMenuRendererTest, ModuleTextsAreShownAsWrittenWithoutMnemonicsOrColumns) {
    StatusMenuItem parent = item("quick", "Rock & Roll");
    parent.children.push_back(item("child", "A\tB", "line\nbreak & more"));
    StatusMenuItem tip = item("tip", "Tip");
    tip.toolTip = "<b>bold</b>";
    QMenu menu;
    QtMenuRenderer::render({parent, tip}, menu);

    const QList<QAction*> actions = menu.actions();
    EXPECT_EQ(actions[0]->text(), "Rock && Roll") << "a doubled & is shown, not a mnemonic";
    EXPECT_EQ(MenuLabel::shownText(actions[0]->text()), "Rock & Roll");
    QAction* child = actions[0]->menu()->actions().value(0);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->text(), "A B\nline break && more")
        << "no tab (a shortcut column) and no line break besides the one between the two lines";
    EXPECT_FALSE(actions[1]->toolTip().contains("<b>")) << "markup is escaped, not rendered";
    EXPECT_TRUE(actions[1]->toolTip().contains("&lt;b&gt;bold"));
    // The printed menu keeps the texts as the module wrote them.
    EXPECT_TRUE(MenuText::fromMenu(menu).contains("Rock & Roll"));
}

TEST(QtMenuRendererTest, LabelHelpersKeepPlainTextAndReplaceEveryLineBreaker) {
    EXPECT_EQ(MenuLabel::singleLine(QString::fromUtf8("a\rb\x1b"
                                                      "c\u2028d\u2029e\u0085f")),
              "a b c d e f");
    EXPECT_EQ(MenuLabel::forAction("&&"), "&&&&");
    EXPECT_EQ(MenuLabel::shownText(MenuLabel::forAction("x&y&&z&")), "x&y&&z&");
    EXPECT_EQ(MenuLabel::forToolTip("Name — plain"), "Name — plain");
}

TEST(QtMenuRendererTest, TwoLineItemsAreAsWideAsTheirLongerLine) {
    // The menu measures "title\nsubtitle" as one line; the item must not be that wide.
    const QString title = "Name clock";
    const QString subtitle = "Shows the time in five zones";
    QMenu twoLine;
    QtMenuRenderer::render({item("two", title, subtitle)}, twoLine);
    QMenu single;
    QtMenuRenderer::render({item("one", subtitle)}, single);
    QMenu joined;
    QtMenuRenderer::render({item("joined", title + " " + subtitle)}, joined);

    const int twoLineWidth = rowWidth(twoLine, twoLine.actions()[0]);
    const int singleWidth = rowWidth(single, single.actions()[0]);
    EXPECT_LE(twoLineWidth, singleWidth) << "the subtitle is smaller than a menu line";
    EXPECT_LT(twoLineWidth, rowWidth(joined, joined.actions()[0]));
    EXPECT_GT(twoLine.actionGeometry(twoLine.actions()[0]).height(),
              single.actionGeometry(single.actions()[0]).height());
}

TEST(QtMenuRendererTest, KeyEquivalentsWorkWhileTheMenuIsOpen) {
    int settings = 0, other = 0;
    StatusMenuItem first = item("settings", "Settings…");
    first.keyEquivalent = ",";
    first.action = [&] { ++settings; };
    StatusMenuItem disabled = item("quit", "Quit");
    disabled.keyEquivalent = "q";
    disabled.enabled = false;
    disabled.action = [&] { ++other; };
    QMenu menu;
    QtMenuRenderer::render({first, disabled}, menu);
    menu.popup(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));

    QTest::keyClick(menu.windowHandle(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(other, 0) << "a disabled item is not chosen by its key";
    EXPECT_TRUE(menu.isVisible());
    QTest::keyClick(menu.windowHandle(), Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(settings, 1);
    EXPECT_FALSE(menu.isVisible()) << "the menu closes as when the item is clicked";
}

TEST(QtMenuRendererTest, KeyEquivalentsReachItemsFromAnOpenSubmenu) {
    int settings = 0;
    StatusMenuItem more = item("more", "More");
    more.children.push_back(item("inner", "Inner"));
    StatusMenuItem first = item("settings", "Settings…");
    first.keyEquivalent = ",";
    first.action = [&] { ++settings; };
    QMenu menu;
    QtMenuRenderer::render({more, first}, menu);
    menu.popup(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    QMenu* sub = menu.actions()[0]->menu();
    sub->popup(QPoint(200, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sub));
    QTest::keyClick(sub->windowHandle(), Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(settings, 1);
    EXPECT_FALSE(sub->isVisible());
    EXPECT_FALSE(menu.isVisible());
}
