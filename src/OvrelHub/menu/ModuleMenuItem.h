#pragma once

#include "OvrelConfig/Hotkey.h"

#include <QString>
#include <optional>

namespace ovrel {

// One menu entry of one installed module, flattened for the status menu.
struct ModuleMenuItem {
    QString moduleId;
    QString moduleName;
    QString command;
    QString title;
    std::optional<Hotkey> hotkey;
    std::optional<QString> iconPath; // the installed bundle
    bool operator==(const ModuleMenuItem&) const = default;
};

} // namespace ovrel
