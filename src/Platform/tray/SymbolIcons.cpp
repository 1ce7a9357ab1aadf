#include "Platform/tray/SymbolIcons.h"

#include "Platform/tray/DrawnSymbols.h"

#include <QHash>
#include <QStringList>

namespace ovrel::SymbolIcons {

namespace {

// Theme icons that mean the same, most specific first (themes differ: Breeze
// has "user-identity", Adwaita "avatar-default").
const QHash<QString, QStringList>& themeNames() {
    static const QHash<QString, QStringList> names{
        {QStringLiteral("book.closed"), {QStringLiteral("help-contents")}},
        {QStringLiteral("gearshape"),
         {QStringLiteral("preferences-system"), QStringLiteral("preferences-other")}},
        {QStringLiteral("arrow.down.circle"), {QStringLiteral("system-software-update")}},
        {QStringLiteral("person.crop.circle"),
         {QStringLiteral("user-identity"), QStringLiteral("avatar-default")}},
        {QStringLiteral("lock.shield"), {QStringLiteral("security-high")}},
        {QStringLiteral("bag"), {QStringLiteral("system-software-install")}},
        {QStringLiteral("app"), {QStringLiteral("application-x-executable")}},
        {QStringLiteral("globe"), {QStringLiteral("web-browser")}},
        {QStringLiteral("bubble.left.and.bubble.right"), {QStringLiteral("user-available")}},
        {QStringLiteral("exclamationmark.triangle.fill"), {QStringLiteral("dialog-warning")}},
    };
    return names;
}

} // namespace

QIcon icon(const QString& symbol) {
    // The grid mark is the hub's own: never a theme's.
    if (symbol == QLatin1String("square.grid.2x2")) {
        static const QIcon grid = DrawnSymbols::icon(symbol);
        return grid;
    }
    for (const QString& name : themeNames().value(symbol)) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    return DrawnSymbols::icon(symbol);
}

} // namespace ovrel::SymbolIcons
