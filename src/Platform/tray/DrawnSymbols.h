#pragma once

#include <QIcon>
#include <QString>

namespace ovrel {

// Symbol images the hub draws itself: the hub's grid mark, and line drawings
// of the other symbols it names ("gearshape", "lock.shield",
// "person.crop.circle", "book.closed", "arrow.down.circle", "bag", "app") for
// desktops whose icon theme has no match (or no theme at all). Each is drawn
// afresh at the pixel size asked for, in the palette's text colour (dimmed
// when disabled); the grid mark keeps its own colour.
namespace DrawnSymbols {

// A null icon for a symbol that has no drawing.
QIcon icon(const QString& symbol);

} // namespace DrawnSymbols

} // namespace ovrel
