#include "OvrelHub/modules/InstalledModule.h"

#include <QJsonArray>

namespace ovrel {

namespace {

const QString kId = QStringLiteral("id");
const QString kVersion = QStringLiteral("version");
const QString kAppName = QStringLiteral("appName");
const QString kShortcutEnabled = QStringLiteral("shortcutEnabled");
const QString kHotkeys = QStringLiteral("hotkeys");
const QString kShortcutLinkName = QStringLiteral("shortcutLinkName");
const QString kResidentEnabled = QStringLiteral("residentEnabled");
const QString kClearedHotkeys = QStringLiteral("clearedHotkeys");
const QString kQuickAccessEnabled = QStringLiteral("quickAccessEnabled");

std::optional<bool> asBool(const QJsonValue& v) {
    return v.isBool() ? std::optional<bool>(v.toBool()) : std::nullopt;
}

std::optional<QString> asString(const QJsonValue& v) {
    return v.isString() ? std::optional<QString>(v.toString()) : std::nullopt;
}

std::optional<CommandHotkeys> asHotkeys(const QJsonValue& v) {
    if (!v.isObject())
        return std::nullopt;
    const QJsonObject object = v.toObject();
    CommandHotkeys hotkeys;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::optional<Hotkey> hotkey = Hotkey::fromJson(it.value());
        if (!hotkey)
            return std::nullopt;
        hotkeys.emplace(it.key(), *hotkey);
    }
    return hotkeys;
}

std::optional<std::set<QString>> asStringSet(const QJsonValue& v) {
    if (!v.isArray())
        return std::nullopt;
    std::set<QString> strings;
    for (const QJsonValue& item : v.toArray()) {
        if (!item.isString())
            return std::nullopt;
        strings.insert(item.toString());
    }
    return strings;
}

// One optional member: absent or null leaves the default; a value of another
// type leaves the default too but is reported as lost.
template <class T, class Convert>
void readOptional(const QJsonObject& object, const QString& key, T& field, bool& intact,
                  Convert convert) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return;
    if (auto converted = convert(value))
        field = std::move(*converted);
    else
        intact = false;
}

} // namespace

std::optional<InstalledModule> InstalledModule::fromJson(const QJsonValue& value, bool* intact) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const std::optional<QString> id = asString(object.value(kId));
    const std::optional<QString> version = asString(object.value(kVersion));
    const std::optional<QString> appName = asString(object.value(kAppName));
    if (!id || !version || !appName)
        return std::nullopt;

    InstalledModule module;
    module.id = *id;
    module.version = *version;
    module.appName = *appName;
    bool complete = true;
    readOptional(object, kShortcutEnabled, module.shortcutEnabled, complete, asBool);
    readOptional(object, kHotkeys, module.hotkeys, complete, asHotkeys);
    readOptional(object, kShortcutLinkName, module.shortcutLinkName, complete, asString);
    readOptional(object, kResidentEnabled, module.residentEnabled, complete, asBool);
    readOptional(object, kClearedHotkeys, module.clearedHotkeys, complete, asStringSet);
    readOptional(object, kQuickAccessEnabled, module.quickAccessEnabled, complete, asBool);
    if (intact && !complete)
        *intact = false;
    return module;
}

QJsonObject InstalledModule::toJson() const {
    QJsonObject hotkeyObject;
    for (const auto& [command, hotkey] : hotkeys)
        hotkeyObject.insert(command, hotkey.toJsonObject());
    QJsonArray cleared;
    for (const QString& command : clearedHotkeys)
        cleared.append(command);

    QJsonObject object;
    object.insert(kId, id);
    object.insert(kVersion, version);
    object.insert(kAppName, appName);
    object.insert(kShortcutEnabled, shortcutEnabled);
    object.insert(kHotkeys, hotkeyObject);
    if (shortcutLinkName)
        object.insert(kShortcutLinkName, *shortcutLinkName);
    object.insert(kResidentEnabled, residentEnabled);
    object.insert(kClearedHotkeys, cleared);
    object.insert(kQuickAccessEnabled, quickAccessEnabled);
    return object;
}

} // namespace ovrel
