#include "OvrelModuleKit/manifest/RawModuleManifest.h"

#include "OvrelModuleKit/json/JsonFields.h"

namespace ovrel {

namespace {

template <typename T, typename Decode>
QList<T> decodeEach(const JsonValue::Array& array, Decode decode) {
    QList<T> items;
    items.reserve(static_cast<qsizetype>(array.size()));
    for (const JsonValue& item : array)
        items.append(decode(item));
    return items;
}

QStringList strings(const JsonValue::Array& array, QStringView what) {
    return decodeEach<QString>(array,
                               [&](const JsonValue& v) { return JsonFields::toString(v, what); });
}

std::optional<QStringList> optionalStrings(const JsonFields& fields, QStringView key) {
    const JsonValue::Array* array = fields.optionalArray(key);
    if (!array)
        return std::nullopt;
    return strings(*array, key);
}

} // namespace

RawModuleManifest RawModuleManifest::decode(const JsonValue& json) {
    const JsonFields f(json);
    RawModuleManifest raw;
    raw.id = f.requiredString(u"id");
    raw.version = f.requiredString(u"version");
    raw.minHostVersion = f.requiredString(u"minHostVersion");
    raw.name = LocalizedText::decode(f.required(u"name"));
    raw.summary = LocalizedText::decode(f.required(u"summary"));
    raw.menu = decodeEach<MenuEntry>(f.requiredArray(u"menu"), MenuEntry::decode);
    raw.settings = decodeEach<SettingSpec>(f.requiredArray(u"settings"), SettingSpec::decode);
    raw.mode = f.optionalString(u"mode");
    if (const JsonValue::Array* groups = f.optionalArray(u"settingGroups"))
        raw.settingGroups = decodeEach<SettingGroup>(*groups, SettingGroup::decode);
    raw.dynamicCommands = optionalStrings(f, u"dynamicCommands");
    if (const JsonValue* description = f.optional(u"description"))
        raw.description = LocalizedText::decode(*description);
    raw.screenshots = optionalStrings(f, u"screenshots");
    raw.quickAccessDefault = f.optionalBool(u"quickAccessDefault");
    raw.openWindowOnLaunch = f.optionalBool(u"openWindowOnLaunch");
    raw.permissions = optionalStrings(f, u"permissions");
    raw.minMacOS = f.optionalString(u"minMacOS");
    return raw;
}

} // namespace ovrel
