#include "OvrelHub/menu/ModuleIcons.h"

#include "OvrelHub/menu/GridIconMetrics.h"
#include "Platform/bundle/BundleIcon.h"

#include "Platform/tray/SymbolIcons.h"

#include <QFileInfo>
#include <QPixmap>

namespace ovrel {

namespace {

QImage menuSized(const QImage& image, const IconDemand& demand) {
    if (image.isNull())
        return image;
    QImage scaled = image.width() == demand.menuPixels && image.height() == demand.menuPixels
                        ? image
                        : image.scaled(demand.menuPixels, demand.menuPixels, Qt::KeepAspectRatio,
                                       Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(demand.devicePixelRatio);
    return scaled;
}

} // namespace

ModuleIconImages ModuleIconImages::load(const QList<ModuleMenuItem>& items,
                                        const IconDemand& demand) {
    ModuleIconImages out;
    QSet<QString> decided;
    for (const ModuleMenuItem& item : items) {
        const bool forMenu = demand.menu.contains(item.moduleId);
        const bool forGrid = demand.grid.contains(item.moduleId);
        if ((!forMenu && !forGrid) || decided.contains(item.moduleId) || !item.iconPath ||
            !QFileInfo::exists(*item.iconPath))
            continue;
        decided.insert(item.moduleId);
        const QImage image = BundleIcon::image(*item.iconPath);
        if (forMenu)
            out.menu.insert(item.moduleId, menuSized(image, demand));
        if (forGrid && !image.isNull())
            out.grid.insert(item.moduleId, GridIconMetrics::zoomed(image, demand.gridPixels));
    }
    return out;
}

QHash<QString, QIcon> ModuleIconImages::menuIcons() const {
    QHash<QString, QIcon> out;
    for (auto it = menu.cbegin(); it != menu.cend(); ++it) {
        if (it.value().isNull()) {
            out.insert(it.key(), SymbolIcons::icon(QStringLiteral("app")));
            continue;
        }
        out.insert(it.key(), QIcon(QPixmap::fromImage(it.value())));
    }
    return out;
}

QHash<QString, QIcon> ModuleIconImages::gridIcons() const {
    QHash<QString, QIcon> out;
    for (auto it = grid.cbegin(); it != grid.cend(); ++it)
        out.insert(it.key(), QIcon(QPixmap::fromImage(it.value())));
    return out;
}

} // namespace ovrel
