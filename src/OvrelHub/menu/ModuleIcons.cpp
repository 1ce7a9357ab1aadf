#include "OvrelHub/menu/ModuleIcons.h"

#include "OvrelHub/menu/GridIconMetrics.h"
#include "Platform/bundle/BundleIcon.h"

#include <QFileInfo>
#include <QPixmap>

namespace ovrel {

ModuleIconImages ModuleIconImages::load(const QList<ModuleMenuItem>& items) {
    ModuleIconImages out;
    for (const ModuleMenuItem& item : items) {
        if (out.menu.contains(item.moduleId) || !item.iconPath ||
            !QFileInfo::exists(*item.iconPath))
            continue;
        const QImage image = BundleIcon::image(*item.iconPath);
        out.menu.insert(item.moduleId, image);
        if (!image.isNull())
            out.grid.insert(item.moduleId, GridIconMetrics::zoomed(image));
    }
    return out;
}

QHash<QString, QIcon> ModuleIconImages::menuIcons() const {
    QHash<QString, QIcon> out;
    for (auto it = menu.cbegin(); it != menu.cend(); ++it) {
        if (it.value().isNull()) {
            out.insert(it.key(), QIcon::fromTheme(QStringLiteral("application-x-executable")));
            continue;
        }
        // Two pixel sizes so the 16-point icon stays sharp on double-density screens.
        QIcon icon;
        for (int side : {16, 32})
            icon.addPixmap(QPixmap::fromImage(
                it.value().scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        out.insert(it.key(), icon);
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
