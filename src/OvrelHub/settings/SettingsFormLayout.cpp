#include "OvrelHub/settings/SettingsFormLayout.h"

namespace ovrel {

QList<SettingsSection> SettingsFormLayout::sections(const QList<SettingSpec>& settings,
                                                    const QList<SettingGroup>& groups) {
    QList<SettingsSection> sections;
    SettingsSection ungrouped;
    for (const SettingSpec& setting : settings) {
        if (!setting.group())
            ungrouped.settings.append(setting);
    }
    if (!ungrouped.settings.isEmpty())
        sections.append(ungrouped);
    for (const SettingGroup& group : groups) {
        SettingsSection section{group.label, {}};
        for (const SettingSpec& setting : settings) {
            if (setting.group() == group.id)
                section.settings.append(setting);
        }
        if (!section.settings.isEmpty())
            sections.append(section);
    }
    return sections;
}

} // namespace ovrel
