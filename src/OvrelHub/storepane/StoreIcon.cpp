#include "OvrelHub/storepane/StoreIcon.h"

#include "Platform/tray/SymbolIcons.h"

#include <QPixmap>

namespace ovrel {

StoreIcon::StoreIcon(int side, QWidget* parent) : QLabel(parent), m_side(side) {
    setFixedSize(side, side);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    // The placeholder: a flat colour from the palette, so dark themes keep it quiet.
    setBackgroundRole(QPalette::Midlight);
}

void StoreIcon::showImage(const QImage& image) {
    if (image.isNull()) {
        showSymbol();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(image.scaled(QSize(m_side, m_side) * ratio,
                                                     Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    setAutoFillBackground(false);
    setPixmap(pixmap);
    m_hasImage = true;
}

void StoreIcon::showSymbol() {
    setAutoFillBackground(false);
    setPixmap(SymbolIcons::icon(QStringLiteral("square.grid.2x2")).pixmap(QSize(m_side, m_side)));
    m_hasImage = false;
}

} // namespace ovrel
