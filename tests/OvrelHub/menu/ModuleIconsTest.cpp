// Module icons are made once per module, at the device pixels they are drawn
// at, and only in the forms the menu's presentation draws.

#include "OvrelHub/menu/ModuleIcons.h"
#include "OvrelHub/menu/GridIconMetrics.h"
#include "OvrelHub/menu/IconDemand.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

ModuleMenuItem item(const QString& id, const QString& command = QStringLiteral("open"),
                    std::optional<QString> iconPath = std::nullopt) {
    return ModuleMenuItem{id, "Name " + id, command, "Title " + id, std::nullopt, iconPath};
}

QList<ModuleMenuItem> items(int count) {
    QList<ModuleMenuItem> out;
    for (int i = 0; i < count; ++i)
        out.append(item(QStringLiteral("m%1").arg(i)));
    return out;
}

QSet<QString> ids(std::initializer_list<int> numbers) {
    QSet<QString> out;
    for (int n : numbers)
        out.insert(QStringLiteral("m%1").arg(n));
    return out;
}

// A bundle whose declared icon is a 128-pixel PNG, red inside a blue frame
// that lies in the part the grid cuts away.
QString bundleWithIcon(const test::TempDir& dir, const QString& name) {
    const QString bundle = dir.file(name + ".app");
    test::writeFile(bundle + "/Contents/Info.plist",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                    "<key>CFBundleExecutable</key><string>clock</string>"
                    "<key>CFBundleIconFile</key><string>icon.png</string></dict></plist>\n");
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    for (int y = 8; y < 120; ++y)
        for (int x = 8; x < 120; ++x)
            image.setPixelColor(x, y, Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    test::writeFile(bundle + "/Contents/Resources/icon.png", png);
    return bundle;
}

} // namespace

TEST(IconDemand, TheGridDrawsItsCellsLargeAndEverythingElseAtMenuSize) {
    IconDemand::Presentation presentation;
    presentation.layout = MenuGridLayout(1, 2);
    presentation.quickAccessModuleIds = ids({0});
    presentation.devicePixelRatio = 2.0;
    QList<ModuleMenuItem> list = items(4);
    list.insert(1, item("m0", "second")); // one cell per module
    const IconDemand demand = IconDemand::forMenu(list, presentation);
    EXPECT_EQ(demand.grid, ids({0, 1}));
    EXPECT_EQ(demand.menu, ids({0, 2, 3})) << "quick access and \"Show more\" draw menu icons";
    EXPECT_EQ(demand.menuPixels, 32);
    EXPECT_EQ(demand.gridPixels, 80);
    EXPECT_EQ(demand.devicePixelRatio, 2.0);
}

TEST(IconDemand, TheListAndAGridWithoutRowsDrawOnlyMenuIcons) {
    IconDemand::Presentation list;
    list.grid = false;
    EXPECT_EQ(IconDemand::forMenu(items(3), list).menu, ids({0, 1, 2}));
    EXPECT_TRUE(IconDemand::forMenu(items(3), list).grid.isEmpty());

    IconDemand::Presentation grid;
    EXPECT_EQ(IconDemand::forMenu({}, grid).menu, QSet<QString>());
    EXPECT_EQ(IconDemand::forMenu(items(2), grid).grid, ids({0, 1}));
    EXPECT_TRUE(IconDemand::forMenu(items(2), grid).menu.isEmpty());
}

TEST(ModuleIconImages, EachFormIsMadeAtTheDevicePixelsItIsDrawnAt) {
    test::TempDir dir;
    const QString bundle = bundleWithIcon(dir, "Clock");
    IconDemand demand;
    demand.menuPixels = 32;
    demand.gridPixels = 80;
    demand.devicePixelRatio = 2.0;
    demand.menu = {"a"};
    demand.grid = {"b"};
    const ModuleIconImages images = ModuleIconImages::load(
        {item("a", "open", bundle), item("b", "open", bundle), item("c", "open", bundle)}, demand);

    ASSERT_EQ(images.menu.keys(), QStringList{"a"}) << "only the forms the menu draws";
    ASSERT_EQ(images.grid.keys(), QStringList{"b"});
    const QImage menu = images.menu.value("a");
    EXPECT_EQ(menu.size(), QSize(32, 32));
    EXPECT_EQ(menu.devicePixelRatio(), 2.0) << "drawn as 16 points";
    const QImage grid = images.grid.value("b");
    EXPECT_EQ(grid.size(), QSize(80, 80));
    EXPECT_EQ(grid.devicePixelRatio(), 2.0) << "drawn as 40 points";
    EXPECT_EQ(grid.pixelColor(0, 0), QColor(Qt::red)) << "the frame is cut away";
    EXPECT_EQ(grid.pixelColor(79, 79), QColor(Qt::red));

    const QHash<QString, QIcon> icons = images.menuIcons();
    EXPECT_EQ(icons.value("a").availableSizes(), QList<QSize>{QSize(32, 32)});
}

TEST(ModuleIconImages, ABundleWithoutIconGetsTheThemeIconInMenusAndNoneInTheGrid) {
    test::TempDir dir;
    const QString bundle = dir.file("Bare.app");
    test::writeFile(bundle + "/Contents/Info.plist",
                    "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict/></plist>");
    IconDemand demand;
    demand.menu = {"a"};
    demand.grid = {"a"};
    const ModuleIconImages images = ModuleIconImages::load(
        {item("a", "open", bundle), item("gone", "open", dir.file("Gone.app"))}, demand);
    ASSERT_TRUE(images.menu.contains("a"));
    EXPECT_TRUE(images.menu.value("a").isNull());
    EXPECT_TRUE(images.grid.isEmpty());
    EXPECT_FALSE(images.menu.contains("gone")) << "a missing bundle has no icon at all";
}
