#pragma once

#include "OvrelModuleKit/json/JsonValue.h"
#include "OvrelModuleKit/text/LocalizedText.h"

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
