#pragma once

#include "OvrelModuleKit/settings/SettingGroup.h"
#include "OvrelModuleKit/settings/SettingSpec.h"

#include <QList>
#include <optional>

namespace ovrel {

// A run of settings shown under one (optional) title.
struct SettingsSection {
    std::optional<LocalizedText> title;
    QList<SettingSpec> settings;
    bool operator==(const SettingsSection&) const = default;
};

// The sections of a module's settings form: the settings without a group
// first (untitled), then one section per group in manifest order; groups
// without settings are left out. Manifest order within each section.
namespace SettingsFormLayout {

QList<SettingsSection> sections(const QList<SettingSpec>& settings,
                                const QList<SettingGroup>& groups);

} // namespace SettingsFormLayout

} // namespace ovrel
