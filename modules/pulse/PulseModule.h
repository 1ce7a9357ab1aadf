#pragma once

#include "OvrelModuleKitUI/StandardModuleLaunch.h"
#include "PulseSchedule.h"
#include "PulseTexts.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

namespace ovrel::pulse {

class PulseWindow;

// The pulse module: runs in the background and reminds the user to take a
// break every few minutes. Its menu in the hub shows when the next break is
// and pauses or resumes the reminders; it reports its input-monitoring
// permission when the hub asks.
class PulseModule {
public:
    PulseModule();

    StandardModuleLaunch& launch() { return m_launch; }

private:
    void applyLanguage(const QString& language);
    void applySettings(const SettingsMap& values);
    void handle(const QString& command);

    void pauseFor(std::chrono::minutes duration);
    void pauseUntilResumed();
    void resume();
    void takeBreakNow();
    void remind();
    void onTimer();
    // Keeps the pause, re-arms the timer and shows the new state everywhere.
    void stateChanged();

    void restorePause();
    void savePause();
    void publishMenu();
    void checkPermissions();
    void showWindow();
    void refreshWindow();

    QString words(PulseText which) const { return text(which, m_language); }
    QString timeText(PulseSchedule::TimePoint at) const;
    QString status() const;
    QString menuLabel(const QString& command) const; // from the manifest's menu

    StandardModuleLaunch m_launch;
    PulseSchedule m_schedule;
    bool m_notify = true;
    QString m_language = QStringLiteral("vi");
    QTimer m_timer;
    std::unique_ptr<QMainWindow> m_window;
    PulseWindow* m_view = nullptr;
};

} // namespace ovrel::pulse
