#pragma once

#include <QSize>

class QWidget;

namespace ovrel {

// Where the hub's windows appear: centred on the screen under the pointer
// (a tray program has no window of its own to centre on), raised and active.
namespace WindowPlacement {

// The wanted size capped by the available area of that screen.
QSize capped(const QSize& wanted);
void centreAndRaise(QWidget& window);

} // namespace WindowPlacement

} // namespace ovrel
