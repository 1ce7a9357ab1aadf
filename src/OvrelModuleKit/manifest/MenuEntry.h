#pragma once

#include "OvrelModuleKit/json/JsonValue.h"
#include "OvrelModuleKit/text/LocalizedText.h"

#include <optional>

namespace ovrel {

// One command the hub lists in a module's menu.
struct MenuEntry {
    QString command;
    LocalizedText label;
    // Suggested global hotkey in its textual form; not checked here.
    std::optional<QString> hotkeyDefault;

    // Throws JsonDecodingError.
    static MenuEntry decode(const JsonValue& json);

    bool operator==(const MenuEntry& other) const = default;
};

} // namespace ovrel
