#include "OvrelHub/menu/IconDemand.h"

#include "OvrelHub/menu/GridIconMetrics.h"

#include <QtMath>

namespace ovrel {

IconDemand IconDemand::forMenu(const QList<ModuleMenuItem>& items,
                               const Presentation& presentation) {
    IconDemand demand;
    demand.devicePixelRatio = presentation.devicePixelRatio;
    demand.menuPixels = qCeil(presentation.menuIconSide * presentation.devicePixelRatio);
    demand.gridPixels = qCeil(GridIconMetrics::iconSide * presentation.devicePixelRatio);
    for (const ModuleMenuItem& item : items) {
        if (presentation.quickAccessModuleIds.contains(item.moduleId))
            demand.menu.insert(item.moduleId);
    }
    const MenuLayout::Arrangement arrangement =
        presentation.grid
            ? MenuLayout::arrange(ModuleGridBuilder::dedupe(items), presentation.layout)
            : MenuLayout::Arrangement{};
    // A grid that shows no rows falls back to the list, as the presenter does.
    if (arrangement.rows.isEmpty()) {
        for (const ModuleMenuItem& item : items)
            demand.menu.insert(item.moduleId);
        return demand;
    }
    for (const QList<ModuleMenuItem>& row : arrangement.rows) {
        for (const ModuleMenuItem& item : row)
            demand.grid.insert(item.moduleId);
    }
    for (const ModuleMenuItem& item : arrangement.overflow)
        demand.menu.insert(item.moduleId);
    return demand;
}

} // namespace ovrel
