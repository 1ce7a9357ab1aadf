#include "OvrelModuleKit/SettingGroup.h"

#include "OvrelModuleKit/JsonFields.h"

namespace ovrel {

SettingGroup SettingGroup::decode(const JsonValue& json) {
    const JsonFields fields(json);
    return SettingGroup{fields.requiredString(u"id"),
                        LocalizedText::decode(fields.required(u"label"))};
}

} // namespace ovrel
