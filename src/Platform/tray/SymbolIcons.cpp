#include "Platform/tray/SymbolIcons.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace ovrel::SymbolIcons {

namespace {

// Four rounded squares: the hub's own mark, drawn so it does not depend on a
// theme. Drawn afresh for every pixel size asked for (a 2x tray asks for 44 or
// 48 pixels) with every edge on a whole pixel, so it is never a blurred scale.
class GridMarkEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pixmap = draw(qRound(std::min(rect.width(), rect.height()) * ratio));
        pixmap.setDevicePixelRatio(ratio);
        const QSizeF side = QSizeF(pixmap.size()) / ratio;
        painter->drawPixmap(QRectF(QPointF(rect.x() + (rect.width() - side.width()) / 2,
                                           rect.y() + (rect.height() - side.height()) / 2),
                                   side),
                            pixmap, QRectF(pixmap.rect()));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return draw(std::min(size.width(), size.height()));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : {16, 20, 22, 24, 32, 40, 44, 48, 64})
            sizes.append(QSize(side, side));
        return sizes;
    }
    QIconEngine* clone() const override { return new GridMarkEngine; }
    QString key() const override { return QStringLiteral("OvrelGridMark"); }

    static QPixmap draw(int side) {
        side = std::max(side, 4);
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        const int gap = std::max(1, qRound(side / 8.0));
        const int cell = (side - 3 * gap) / 2;
        const int margin = (side - 2 * cell - gap) / 2;
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3d, 0x8b, 0xfd));
        const qreal radius = cell / 4.0;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                p.drawRoundedRect(
                    QRect(margin + c * (cell + gap), margin + r * (cell + gap), cell, cell), radius,
                    radius);
        return pixmap;
    }
};

QIcon gridIcon() {
    return QIcon(new GridMarkEngine);
}

const QHash<QString, QString>& themeNames() {
    static const QHash<QString, QString> names{
        {QStringLiteral("book.closed"), QStringLiteral("help-contents")},
        {QStringLiteral("gearshape"), QStringLiteral("preferences-system")},
        {QStringLiteral("arrow.down.circle"), QStringLiteral("system-software-update")},
        {QStringLiteral("person.crop.circle"), QStringLiteral("user-identity")},
        {QStringLiteral("lock.shield"), QStringLiteral("security-high")},
        {QStringLiteral("bag"), QStringLiteral("system-software-install")},
        {QStringLiteral("globe"), QStringLiteral("web-browser")},
        {QStringLiteral("bubble.left.and.bubble.right"), QStringLiteral("user-available")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("dialog-warning")},
    };
    return names;
}

} // namespace

QIcon icon(const QString& symbol) {
    if (symbol == QLatin1String("square.grid.2x2")) {
        static const QIcon grid = gridIcon();
        return grid;
    }
    const auto it = themeNames().constFind(symbol);
    return it == themeNames().cend() ? QIcon() : QIcon::fromTheme(*it);
}

} // namespace ovrel::SymbolIcons
