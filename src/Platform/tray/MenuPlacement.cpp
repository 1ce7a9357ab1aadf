#include "Platform/tray/MenuPlacement.h"

#include <algorithm>

namespace ovrel::MenuPlacement {

namespace {
QPoint inside(QPoint point, const QSize& menu, const QRect& area) {
    point.setX(std::clamp(point.x(), area.left(),
                          std::max(area.left(), area.left() + area.width() - menu.width())));
    point.setY(std::clamp(point.y(), area.top(),
                          std::max(area.top(), area.top() + area.height() - menu.height())));
    return point;
}
} // namespace

QPoint besideIcon(const QRect& icon, const QSize& menu, const QRect& area) {
    // A panel on the left or right edge: the icon is taller than it is far from that edge.
    const bool onLeftEdge = icon.left() - area.left() < icon.width() && icon.height() <= 64 &&
                            icon.top() > area.top() + 64 && icon.bottom() < area.bottom() - 64;
    const bool onRightEdge = area.right() - icon.right() < icon.width() && icon.height() <= 64 &&
                             icon.top() > area.top() + 64 && icon.bottom() < area.bottom() - 64;
    QPoint at;
    if (onLeftEdge || onRightEdge) {
        at.setX(onLeftEdge ? icon.right() + 1 : icon.left() - menu.width());
        at.setY(icon.top());
    } else {
        const bool upperHalf = icon.center().y() < area.center().y();
        at.setY(upperHalf ? icon.bottom() + 1 : icon.top() - menu.height());
        // Left edges aligned, unless the menu would run off the right: then right edges.
        at.setX(icon.left() + menu.width() <= area.left() + area.width()
                    ? icon.left()
                    : icon.right() + 1 - menu.width());
    }
    return inside(at, menu, area);
}

QPoint atPointer(const QPoint& pointer, const QSize& menu, const QRect& area) {
    return inside(pointer, menu, area);
}

} // namespace ovrel::MenuPlacement
