#include "OvrelHub/menu/GridIconMetrics.h"

#include <QPainter>
#include <QPixmap>

namespace ovrel {

QRectF GridIconMetrics::iconSourceRect(QSizeF size) {
    const double margin = (1.0 - iconSourceFraction) / 2.0;
    return {size.width() * margin, size.height() * margin, size.width() * iconSourceFraction,
            size.height() * iconSourceFraction};
}

QIcon GridIconMetrics::zoomed(const QIcon& icon) {
    if (icon.isNull())
        return icon;
    // Render the source at its largest available size so the cut keeps detail.
    const QList<QSize> sizes = icon.availableSizes();
    QSize sourceSize(zoomPixels, zoomPixels);
    for (const QSize& s : sizes) {
        if (s.width() > sourceSize.width())
            sourceSize = s;
    }
    const QImage source = icon.pixmap(sourceSize).toImage();
    if (source.isNull())
        return icon;
    QImage target(zoomPixels, zoomPixels, QImage::Format_ARGB32_Premultiplied);
    if (target.isNull())
        return icon;
    target.fill(Qt::transparent);
    {
        QPainter painter(&target);
        if (!painter.isActive())
            return icon;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(QRectF(0, 0, zoomPixels, zoomPixels), source,
                          iconSourceRect(QSizeF(source.size())));
    }
    target.setDevicePixelRatio(static_cast<double>(zoomPixels) / iconSide);
    return QIcon(QPixmap::fromImage(target));
}

} // namespace ovrel
