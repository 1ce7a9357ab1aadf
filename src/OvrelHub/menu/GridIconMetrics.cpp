#include "OvrelHub/menu/GridIconMetrics.h"

#include <QPainter>

namespace ovrel {

QRectF GridIconMetrics::iconSourceRect(QSizeF size) {
    const double margin = (1.0 - iconSourceFraction) / 2.0;
    return {size.width() * margin, size.height() * margin, size.width() * iconSourceFraction,
            size.height() * iconSourceFraction};
}

QImage GridIconMetrics::zoomed(const QImage& source) {
    if (source.isNull())
        return source;
    QImage target(zoomPixels, zoomPixels, QImage::Format_ARGB32_Premultiplied);
    if (target.isNull())
        return source;
    target.fill(Qt::transparent);
    {
        QPainter painter(&target);
        if (!painter.isActive())
            return source;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(QRectF(0, 0, zoomPixels, zoomPixels), source,
                          iconSourceRect(QSizeF(source.size())));
    }
    target.setDevicePixelRatio(static_cast<double>(zoomPixels) / iconSide);
    return target;
}

} // namespace ovrel
