#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "OvrelModuleKit/settings/SettingValue.h"

#include <QHash>
#include <QWidget>
#include <functional>

namespace ovrel {

class ModuleSettingsStore;

// A module's declared settings as controls: a switch, a stepper within the
// range, a picker of the options, a text field cut to its length. The values
// start as the store's reconciled values; every edit saves the whole map at
// once (which notifies the running module) and reports the change. A failed
// save is logged and the edit stays on screen.
class ModuleSettingsForm : public QWidget {
    Q_OBJECT
public:
    ModuleSettingsForm(QString moduleId, ModuleManifest manifest, AppLanguage language,
                       const ModuleSettingsStore& store, std::function<void()> onChanged,
                       QWidget* parent = nullptr);

    const SettingsMap& values() const { return m_values; }
    // The control of a setting key (tests drive it).
    QWidget* control(const QString& key) const { return m_controls.value(key); }

private:
    // The form row of a setting: a label unless the control carries its own,
    // and the field, which holds the control.
    struct Row {
        QWidget* label = nullptr;
        QWidget* field = nullptr;
    };
    QWidget* makeControl(const SettingSpec& spec, Row& row);
    void write(const QString& key, const SettingValue& value);

    QString m_moduleId;
    ModuleManifest m_manifest;
    AppLanguage m_lang;
    const ModuleSettingsStore& m_store;
    std::function<void()> m_onChanged;
    SettingsMap m_values;
    QHash<QString, QWidget*> m_controls;
};

} // namespace ovrel
