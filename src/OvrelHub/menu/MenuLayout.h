#pragma once

#include "OvrelHub/menu/ModuleMenuItem.h"

#include <QList>
#include <algorithm>

namespace ovrel {

// Rows and columns of the module grid, clamped to what fits a menu.
struct MenuGridLayout {
    static constexpr int kMinRows = 1, kMaxRows = 4;
    static constexpr int kMinColumns = 2, kMaxColumns = 5;

    int rows = 2;
    int columns = 4;

    MenuGridLayout() = default;
    MenuGridLayout(int rowCount, int columnCount)
        : rows(std::clamp(rowCount, kMinRows, kMaxRows)),
          columns(std::clamp(columnCount, kMinColumns, kMaxColumns)) {}
    int capacity() const { return rows * columns; }
    bool operator==(const MenuGridLayout&) const = default;
};

class MenuLayout {
public:
    struct Arrangement {
        QList<QList<ModuleMenuItem>> rows; // the cells shown, row by row
        QList<ModuleMenuItem> overflow;    // the rest, for "Show more"
        bool operator==(const Arrangement&) const = default;
    };

    // The first rows x columns items in rows of `columns`; the rest overflow.
    static Arrangement arrange(const QList<ModuleMenuItem>& items, const MenuGridLayout& layout);
};

// One grid cell per module: keeps each module's first item.
class ModuleGridBuilder {
public:
    static QList<ModuleMenuItem> dedupe(const QList<ModuleMenuItem>& items);
};

// Quick access: the commands of the chosen modules, grouped by module in
// the order the modules first occur.
class QuickAccessMenuBuilder {
public:
    struct Group {
        QString moduleId;
        QString moduleName;
        QList<ModuleMenuItem> commands;
        bool operator==(const Group&) const = default;
    };
    static QList<Group> items(const QList<ModuleMenuItem>& items,
                              const QSet<QString>& enabledModuleIds);
};

} // namespace ovrel
