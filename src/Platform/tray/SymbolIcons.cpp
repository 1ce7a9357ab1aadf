#include "Platform/tray/SymbolIcons.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace ovrel::SymbolIcons {

namespace {

QPixmap canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Four rounded squares: the hub's own mark, drawn so it does not depend on a theme.
QIcon gridIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap = canvas(size);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3d, 0x8b, 0xfd));
        const qreal gap = size / 8.0;
        const qreal cell = (size - 3 * gap) / 2.0;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                p.drawRoundedRect(
                    QRectF(gap + c * (cell + gap), gap + r * (cell + gap), cell, cell), cell / 4,
                    cell / 4);
        icon.addPixmap(pixmap);
    }
    return icon;
}

const QHash<QString, QString>& themeNames() {
    static const QHash<QString, QString> names{
        {QStringLiteral("book.closed"), QStringLiteral("help-contents")},
        {QStringLiteral("gearshape"), QStringLiteral("preferences-system")},
        {QStringLiteral("arrow.down.circle"), QStringLiteral("system-software-update")},
        {QStringLiteral("person.crop.circle"), QStringLiteral("user-identity")},
        {QStringLiteral("lock.shield"), QStringLiteral("security-high")},
        {QStringLiteral("bag"), QStringLiteral("system-software-install")},
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
