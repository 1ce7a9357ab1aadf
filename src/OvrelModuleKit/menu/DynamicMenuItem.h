#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace ovrel {

// One entry of the menu a running module publishes for the hub's status menu.
struct DynamicMenuItem {
    QString id;                     // passed back to the module as the command argument
    QString title;                  // the text shown
    std::optional<QString> command; // sent when chosen; without one the entry is not clickable
    bool enabled = true;
    bool checked = false;                  // shown as a check mark
    std::vector<DynamicMenuItem> children; // a submenu when not empty (one level only)

    bool operator==(const DynamicMenuItem& other) const = default;
};

} // namespace ovrel
