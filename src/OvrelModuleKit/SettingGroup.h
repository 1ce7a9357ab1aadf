#pragma once

#include "OvrelModuleKit/JsonValue.h"
#include "OvrelModuleKit/LocalizedText.h"

namespace ovrel {

// A titled section of a module's settings form.
struct SettingGroup {
    QString id;
    LocalizedText label;

    // Throws JsonDecodingError.
    static SettingGroup decode(const JsonValue& json);

    bool operator==(const SettingGroup& other) const = default;
};

} // namespace ovrel
