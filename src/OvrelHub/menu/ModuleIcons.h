#pragma once

#include "OvrelHub/menu/ModuleMenuItem.h"

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QList>

namespace ovrel {

// Icons of the modules in the menu: loaded and zoomed off the main thread as
// images, turned into icons on the main thread.
struct ModuleIconImages {
    QHash<QString, QImage> menu; // source images, by module id (null: the bundle declares none)
    QHash<QString, QImage> grid; // zoomed for the grid

    // One image per module: the first item with a bundle that exists decides.
    static ModuleIconImages load(const QList<ModuleMenuItem>& items);

    // Menu icons are drawn at 16 x 16; a bundle without an icon gets the theme's
    // application icon. Grid icons only exist for bundles with an icon.
    QHash<QString, QIcon> menuIcons() const;
    QHash<QString, QIcon> gridIcons() const;
};

} // namespace ovrel
