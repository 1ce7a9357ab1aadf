#pragma once

#include "ClockSettings.h"
#include "OvrelModuleKitUI/StandardModuleLaunch.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <optional>

namespace ovrel::clock {

class ClockView;

// The clock module: a small window with the time in the hub's language,
// commands to show it and to copy the time, and a menu in the hub listing
// the time in recently shown zones.
class ClockModule {
public:
    ClockModule();

    StandardModuleLaunch& launch() { return m_launch; }

private:
    void applyLanguage(const QString& language);
    void applySettings(const SettingsMap& values);
    void handle(const QString& command);

    void showWindow();
    void copyTime();
    void showRecentZone(int index);
    QString shownZone() const;
    void refreshWindow();

    // The hub shows this menu while the clock runs; its titles carry the time,
    // so it is written again at every new minute.
    void publishMenu();
    void scheduleMenuRefresh();

    StandardModuleLaunch m_launch;
    ClockSettings m_settings;
    QString m_language = QStringLiteral("vi");
    std::optional<QString> m_pickedZone; // chosen in the hub's menu, until the settings change
    std::unique_ptr<QMainWindow> m_window;
    ClockView* m_view = nullptr;
    QTimer m_menuTimer;
};

} // namespace ovrel::clock
