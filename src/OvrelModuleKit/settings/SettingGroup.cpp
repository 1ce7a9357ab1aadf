#include "OvrelModuleKit/settings/SettingGroup.h"

#include "OvrelModuleKit/json/JsonFields.h"

namespace ovrel {

SettingGroup SettingGroup::decode(const JsonValue& json) {
    const JsonFields fields(json);
    return SettingGroup{fields.requiredString(u"id"),
                        LocalizedText::decode(fields.required(u"label"))};
}

} // namespace ovrel
