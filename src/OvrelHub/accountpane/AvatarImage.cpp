#include "OvrelHub/accountpane/AvatarImage.h"

#include <QPainter>
#include <QPainterPath>

namespace ovrel {

namespace {
QPixmap circle(const QImage& image, int side, qreal ratio, const QColor& fill) {
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QPainterPath path;
    path.addEllipse(QRectF(0, 0, side, side));
    painter.setClipPath(path);
    if (image.isNull())
        painter.fillRect(QRectF(0, 0, side, side), fill);
    else
        painter.drawImage(QRectF(0, 0, side, side), image);
    return pixmap;
}
} // namespace

AvatarImage::AvatarImage(int side, QWidget* parent) : QLabel(parent), m_side(side) {
    setFixedSize(side, side);
    setPixmap(circle({}, side, devicePixelRatioF(), palette().color(QPalette::Midlight)));
}

void AvatarImage::showImage(const QImage& image) {
    if (image.isNull())
        return;
    setPixmap(circle(image, m_side, devicePixelRatioF(), Qt::transparent));
    m_hasImage = true;
}

} // namespace ovrel
