#pragma once

#include "OvrelModuleKit/menu/DynamicMenuItem.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace ovrel {

// What the status menu shows for one running module: its name and its entries.
struct DynamicMenuSection {
    QString moduleName;
    std::vector<DynamicMenuItem> items;

    bool operator==(const DynamicMenuSection& other) const = default;
};

// Keeps only entries whose commands the module's manifest declares, so a
// module cannot make the hub send it commands it never announced.
namespace DynamicMenuBuilder {

// Nothing when the item's command is not allowed (its children go with it);
// else the item with its children filtered the same way. Entries without a
// command (labels, submenu holders) are always allowed.
std::optional<DynamicMenuItem> keep(const DynamicMenuItem& item, const QSet<QString>& allowed);

// Nothing when the module is not running or no entry survives the filter
// against declaredCommands (the manifest's dynamic commands).
std::optional<DynamicMenuSection> section(const QString& moduleName,
                                          const std::vector<DynamicMenuItem>& items,
                                          const QStringList& declaredCommands, bool isRunning);

} // namespace DynamicMenuBuilder

} // namespace ovrel
