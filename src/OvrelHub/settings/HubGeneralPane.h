#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/settings/SettingsServices.h"
#include "OvrelHub/update/CheckResult.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace ovrel {

class VersionChecker;

// The hub-wide preferences: launch at login, debug logging, the interface
// language, the presentation of modules in the status menu, and a manual
// check for a newer hub. Every control writes through HubSettings or the
// login item at once; the manual check changes nothing but its own lines.
class HubGeneralPane : public QWidget {
    Q_OBJECT
public:
    HubGeneralPane(SettingsServices& services, AppLanguage language, QWidget* parent = nullptr);

    // Writes the grid size (clamped), which posts the menu-layout notification.
    void writeGridLayout();

    QCheckBox* launchAtLoginSwitch() const { return m_launchAtLogin; }
    QCheckBox* debugLogSwitch() const { return m_debugLog; }
    QComboBox* languagePicker() const { return m_language; }
    QPushButton* automaticLanguageButton() const { return m_automaticLanguage; }
    QComboBox* presentationPicker() const { return m_presentation; }
    QComboBox* columnsPicker() const { return m_columns; }
    QComboBox* rowsPicker() const { return m_rows; }
    QPushButton* checkButton() const { return m_check; }
    QLabel* updateStatusLabel() const { return m_updateStatus; }
    QPushButton* whatsNewButton() const { return m_whatsNew; }
    QLabel* currentVersionLabel() const { return m_currentVersion; }

signals:
    void manualCheckFinished(); // tests wait for it

private:
    QWidget* applicationSection();
    QWidget* menuLayoutSection();
    QWidget* updateSection();
    void setLaunchAtLogin(bool on);
    void showGridPickers();
    void checkForUpdates();
    void applyCheckResult(const CheckResult& result);

    SettingsServices& m_services;
    AppLanguage m_lang;
    VersionChecker* m_checker = nullptr;
    std::optional<UpdateRelease> m_availableRelease;

    QCheckBox* m_launchAtLogin = nullptr;
    QCheckBox* m_debugLog = nullptr;
    QComboBox* m_language = nullptr;
    QPushButton* m_automaticLanguage = nullptr;
    QComboBox* m_presentation = nullptr;
    QFormLayout* m_menuForm = nullptr;
    QComboBox* m_columns = nullptr;
    QComboBox* m_rows = nullptr;
    QLabel* m_currentVersion = nullptr;
    QPushButton* m_check = nullptr;
    QLabel* m_updateStatus = nullptr;
    QPushButton* m_whatsNew = nullptr;
};

} // namespace ovrel
