#include "OvrelModuleKit/manifest/MenuEntry.h"

#include "OvrelModuleKit/json/JsonFields.h"

namespace ovrel {

MenuEntry MenuEntry::decode(const JsonValue& json) {
    const JsonFields fields(json);
    return MenuEntry{fields.requiredString(u"command"),
                     LocalizedText::decode(fields.required(u"label")),
                     fields.optionalString(u"hotkeyDefault")};
}

} // namespace ovrel
