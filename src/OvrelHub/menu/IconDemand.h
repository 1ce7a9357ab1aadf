#pragma once

#include "OvrelHub/menu/MenuLayout.h"
#include "OvrelHub/menu/ModuleMenuItem.h"

#include <QList>
#include <QSet>

namespace ovrel {

// Which module icons the status menu draws, in which form and at how many
// device pixels, so that each icon is decoded once, scaled once to the size
// it is drawn at, and only for the presentation in use.
struct IconDemand {
    // How the menu shows the modules; read on the main thread.
    struct Presentation {
        bool grid = true;
        MenuGridLayout layout;
        QSet<QString> quickAccessModuleIds;
        int menuIconSide = 16; // points, the style's small icon size
        qreal devicePixelRatio = 1.0;
    };

    int menuPixels = 16;
    int gridPixels = 40;
    qreal devicePixelRatio = 1.0;
    QSet<QString> menu; // beside a menu item: list, "Show more", quick access
    QSet<QString> grid; // in a grid cell

    // Mirrors what ModuleMenuPresenter draws for these items.
    static IconDemand forMenu(const QList<ModuleMenuItem>& items, const Presentation& presentation);
};

} // namespace ovrel
