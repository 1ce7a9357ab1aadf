#pragma once

#include <QIcon>
#include <QString>

namespace ovrel {

// Named symbol images ("square.grid.2x2", "book.closed", ...) as icons: the
// desktop theme's closest icon where there is one, else the hub's own drawing
// (DrawnSymbols), so no menu item or settings rail cell shows an empty slot.
// "app" stands for a module whose bundle has no icon.
namespace SymbolIcons {
QIcon icon(const QString& symbol);
} // namespace SymbolIcons

} // namespace ovrel
