#include "Platform/tray/StatusItem.h"
#include "Platform/tray/MenuPlacement.h"
#include "Platform/tray/SymbolIcons.h"

#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;

TEST(StatusItemTest, AMenuRebuiltWhileOpenReplacesItOnlyWhenItCloses) {
    StatusItem item;
    QPointer<QMenu> open = new QMenu;
    open->addAction("Old");
    item.setMenu(open);
    open->popup(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(open));

    QPointer<QMenu> first = new QMenu;
    QPointer<QMenu> second = new QMenu;
    item.setMenu(first);
    item.setMenu(second);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(open) << "the menu under the pointer is never deleted";
    EXPECT_TRUE(open->isVisible());
    EXPECT_EQ(item.menu(), open.data());
    EXPECT_EQ(item.pendingMenu(), second.data());
    EXPECT_FALSE(first) << "a menu built and replaced while the other was open is dropped";

    open->close();
    EXPECT_EQ(item.menu(), second.data());
    EXPECT_EQ(item.pendingMenu(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(open);

    // A closed menu is replaced at once.
    QPointer<QMenu> third = new QMenu;
    item.setMenu(third);
    EXPECT_EQ(item.menu(), third.data());
}

TEST(StatusItemTest, MenuOpensBesideTheIconNeverOverIt) {
    const QRect screen(0, 0, 1280, 800);
    const QRect area(0, 28, 1280, 772); // a top panel of 28 pixels
    const QSize menu(300, 400);
    // Top panel, icon at the right end: below it, right edges aligned.
    EXPECT_EQ(MenuPlacement::besideIcon(QRect(1252, 2, 24, 24), menu, area), QPoint(976, 28));
    // Icon on the left of a top panel: below it, left edges aligned.
    EXPECT_EQ(MenuPlacement::besideIcon(QRect(40, 2, 24, 24), menu, area), QPoint(40, 28));
    // Bottom panel: above the icon.
    const QRect bottomArea(0, 0, 1280, 772);
    EXPECT_EQ(MenuPlacement::besideIcon(QRect(600, 776, 24, 24), menu, bottomArea),
              QPoint(600, 372))
        << "above the icon, inside the usable area";
    // Side panels: beside the icon.
    const QRect leftArea(32, 0, 1248, 800);
    EXPECT_EQ(MenuPlacement::besideIcon(QRect(4, 380, 24, 24), menu, leftArea), QPoint(32, 380));
    const QRect rightArea(0, 0, 1248, 800);
    EXPECT_EQ(MenuPlacement::besideIcon(QRect(1252, 380, 24, 24), menu, rightArea),
              QPoint(948, 380));
    // At the pointer the menu stays on the screen.
    EXPECT_EQ(MenuPlacement::atPointer(QPoint(1270, 790), menu, screen), QPoint(980, 400));
}

TEST(StatusItemTest, TrayMarkIsDrawnOnWholePixelsAtEverySize) {
    const QIcon mark = SymbolIcons::icon("square.grid.2x2");
    for (int side : {16, 22, 24, 32, 44, 48, 64}) {
        const QImage image =
            mark.pixmap(QSize(side, side), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(side, side)) << "drawn at the size asked for: " << side;
        // A scanline through the middle of the top squares crosses straight edges
        // only: every pixel is either fully covered or empty.
        const int gap = std::max(1, qRound(side / 8.0));
        const int cell = (side - 3 * gap) / 2;
        const int margin = (side - 2 * cell - gap) / 2;
        const int y = margin + cell / 2;
        int covered = 0;
        for (int x = 0; x < side; ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            EXPECT_TRUE(alpha == 0 || alpha == 255)
                << "size " << side << " x " << x << " a " << alpha;
            covered += alpha == 255;
        }
        EXPECT_EQ(covered, 2 * cell) << "size " << side;
    }
    // A 2x screen asks for twice the pixels and gets them, not a scaled 1x picture.
    const QPixmap doubled = mark.pixmap(QSize(22, 22), 2.0);
    EXPECT_EQ(doubled.size(), QSize(44, 44));
}

TEST(StatusItemTest, EverySymbolTheHubNamesIsDrawnWhenTheThemeHasNone) {
    const QString savedTheme = QIcon::themeName();
    const QString savedFallback = QIcon::fallbackThemeName();
    QIcon::setThemeName("no-such-theme");
    QIcon::setFallbackThemeName("no-such-theme");
    for (const char* symbol : {"gearshape", "lock.shield", "person.crop.circle", "book.closed",
                               "arrow.down.circle", "bag", "app", "square.grid.2x2"}) {
        const QIcon icon = SymbolIcons::icon(symbol);
        ASSERT_FALSE(icon.isNull()) << symbol;
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage image = icon.pixmap(QSize(28, 28), ratio).toImage();
            EXPECT_EQ(image.size(), QSize(28, 28) * ratio) << symbol;
            int inked = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    inked += qAlpha(image.pixel(x, y)) > 128;
            // Drawn, and not a filled square.
            EXPECT_GT(inked, image.width()) << symbol << " at " << ratio;
            EXPECT_LT(inked, image.width() * image.height() / 2) << symbol << " at " << ratio;
        }
    }
    EXPECT_TRUE(SymbolIcons::icon("no.such.symbol").isNull());
    QIcon::setThemeName(savedTheme);
    QIcon::setFallbackThemeName(savedFallback);
}
