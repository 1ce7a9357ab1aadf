#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace ovrel {

// Where the status menu opens. Next to the tray icon when the tray host says
// where it is, so the menu never covers the icon: below an icon in the upper
// half of the screen, above one in the lower half, beside one on a side
// panel; at the pointer when nothing is known. Always inside the usable area.
namespace MenuPlacement {

QPoint besideIcon(const QRect& icon, const QSize& menu, const QRect& area);
QPoint atPointer(const QPoint& pointer, const QSize& menu, const QRect& area);

} // namespace MenuPlacement

} // namespace ovrel
