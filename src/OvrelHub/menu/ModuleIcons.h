#pragma once

#include "OvrelHub/menu/IconDemand.h"
#include "OvrelHub/menu/ModuleMenuItem.h"

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QList>

namespace ovrel {

// Icons of the modules in the menu: decoded and scaled off the main thread as
// images, turned into icons on the main thread.
struct ModuleIconImages {
    QHash<QString, QImage> menu; // at menu size, by module id (null: the bundle declares none)
    QHash<QString, QImage> grid; // zoomed for the grid

    // One image per module the demand names, in the forms it names: the first
    // item with a bundle that exists decides. Each icon file is decoded once
    // and scaled once per form, straight to the device pixels it is drawn at.
    static ModuleIconImages load(const QList<ModuleMenuItem>& items, const IconDemand& demand);

    // A bundle without an icon gets the theme's application icon in menus.
    // Grid icons only exist for bundles with an icon.
    QHash<QString, QIcon> menuIcons() const;
    QHash<QString, QIcon> gridIcons() const;
};

} // namespace ovrel
