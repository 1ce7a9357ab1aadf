#pragma once

#include <QIcon>
#include <QString>

namespace ovrel {

// Named symbol images ("square.grid.2x2", "book.closed", ...) as icons: the
// desktop theme's closest icon where there is one, else a drawn fallback, so
// the tray never shows an empty slot.
namespace SymbolIcons {
QIcon icon(const QString& symbol);
} // namespace SymbolIcons

} // namespace ovrel
