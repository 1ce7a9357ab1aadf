#pragma once

#include "OvrelModuleKit/json/JsonValue.h"
#include "OvrelModuleKit/manifest/MenuEntry.h"
#include "OvrelModuleKit/settings/SettingGroup.h"
#include "OvrelModuleKit/settings/SettingSpec.h"
#include "OvrelModuleKit/text/LocalizedText.h"

#include <QList>
#include <QStringList>
#include <optional>

namespace ovrel {

// A manifest exactly as decoded, before validation and defaults. Optional keys
// that are absent (or null) stay empty; keys nobody knows are ignored.
struct RawModuleManifest {
    QString id;
    QString version;
    QString minHostVersion;
    LocalizedText name;
    LocalizedText summary;
    QList<MenuEntry> menu;
    QList<SettingSpec> settings;
    std::optional<QString> mode;
    std::optional<QList<SettingGroup>> settingGroups;
    std::optional<QStringList> dynamicCommands;
    std::optional<LocalizedText> description;
    std::optional<QStringList> screenshots;
    std::optional<bool> quickAccessDefault;
    std::optional<bool> openWindowOnLaunch;
    std::optional<QStringList> permissions;
    std::optional<QString> minMacOS;

    // Throws JsonDecodingError for anything but an object of the right shape.
    static RawModuleManifest decode(const JsonValue& json);
};

} // namespace ovrel
