#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/modules/InstalledModule.h"
#include "OvrelHub/modules/ModuleHotkeyEditor.h"
#include "OvrelHub/settings/SettingsServices.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QWidget>
#include <functional>
#include <map>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace ovrel {

class HotkeyRow;
class ModuleSettingsForm;

// How the hub treats one installed module: open it, find it in the store, a
// launcher in the applications menu, running in the background, quick access
// in the status menu, shortcuts for its commands, and its declared settings.
// A module whose manifest cannot be read still gets the switches it needs to
// be managed. Switches write at once; the entry is read again after each write.
class ModulePane : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        QString moduleId;
        std::optional<ModuleManifest> manifest;
        std::map<QString, ModuleManifest> installedManifests; // for naming holders
        AppLanguage language = AppLanguage::en;
    };

    ModulePane(SettingsServices& services, Inputs inputs, std::function<void()> onViewInStore,
               QWidget* parent = nullptr);

    const QString& moduleId() const { return m_in.moduleId; }
    const std::optional<InstalledModule>& installed() const { return m_installed; }

    QPushButton* openAppButton() const { return m_openApp; }
    QPushButton* viewInStoreButton() const { return m_viewInStore; }
    QCheckBox* applicationsSwitch() const { return m_applications; }
    QCheckBox* backgroundSwitch() const { return m_background; }
    QLabel* backgroundStatus() const { return m_backgroundStatus; }
    QCheckBox* quickAccessSwitch() const { return m_quickAccess; }
    QLabel* hotkeyWarning() const { return m_hotkeyWarning; }
    QList<HotkeyRow*> hotkeyRows() const { return m_hotkeyRows; }
    ModuleSettingsForm* settingsForm() const { return m_form; }

private:
    QString displayName() const;
    void reloadEntry();
    void addHeader(QVBoxLayout* layout, const std::function<void()>& onViewInStore);
    void addApplicationsSwitch(QVBoxLayout* layout);
    void addBackgroundSwitch(QVBoxLayout* layout);
    void addQuickAccessSwitch(QVBoxLayout* layout);
    void addShortcuts(QVBoxLayout* layout);
    void setInApplications(bool on);
    void setRunInBackground(bool on);
    void refreshBackgroundStatus();
    void setQuickAccess(bool on);
    // Reads the entry again, shows the stored flag (withoutEntry when the
    // module has none) on the switch and tells the menu.
    void showStored(QCheckBox* box, bool InstalledModule::*flag, bool withoutEntry);
    bool acceptHotkey(const QString& command, const Hotkey& hotkey);

    SettingsServices& m_services;
    Inputs m_in;
    std::optional<InstalledModule> m_installed;
    ModuleHotkeyEditor m_hotkeys;
    quint64 m_statusGeneration = 0; // only the newest background status is shown

    QPushButton* m_openApp = nullptr;
    QPushButton* m_viewInStore = nullptr;
    QCheckBox* m_applications = nullptr;
    QCheckBox* m_background = nullptr;
    QLabel* m_backgroundStatus = nullptr;
    QCheckBox* m_quickAccess = nullptr;
    QLabel* m_hotkeyWarning = nullptr;
    QList<HotkeyRow*> m_hotkeyRows;
    ModuleSettingsForm* m_form = nullptr;
};

} // namespace ovrel
