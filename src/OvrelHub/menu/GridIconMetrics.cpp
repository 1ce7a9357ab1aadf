#include "OvrelHub/menu/GridIconMetrics.h"

namespace ovrel {

QRectF GridIconMetrics::iconSourceRect(QSizeF size) {
    const double margin = (1.0 - iconSourceFraction) / 2.0;
    return {size.width() * margin, size.height() * margin, size.width() * iconSourceFraction,
            size.height() * iconSourceFraction};
}

QImage GridIconMetrics::zoomed(const QImage& source, int pixels) {
    if (source.isNull() || pixels <= 0)
        return source;
    const QRect kept = iconSourceRect(QSizeF(source.size())).toAlignedRect() & source.rect();
    QImage target =
        source.copy(kept).scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (target.isNull())
        return source;
    target.setDevicePixelRatio(static_cast<double>(pixels) / iconSide);
    return target;
}

} // namespace ovrel
