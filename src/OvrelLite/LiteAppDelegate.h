#pragma once

#include "OvrelHub/shell/HubController.h"
#include "OvrelHub/shell/HubSettingsWatcher.h"
#include "OvrelHub/shell/OtherBuildAlert.h"
#include "OvrelLite/LiteSettingsAndUpdates.h"
#include "Platform/tray/StatusItem.h"
#include "Platform/tray/StatusMenuModel.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

namespace ovrel {

class HubSettings;
class Workspace;

// The application's delegate: runs the launch sequence, owns the tray item and
// rebuilds the status menu as a whole whenever the hub asks for it.
class LiteAppDelegate : public QObject {
    Q_OBJECT
public:
    explicit LiteAppDelegate(HubController::Collaborators collaborators);
    ~LiteAppDelegate() override;

    // The delegate of the running program, if any.
    static LiteAppDelegate* shared();

    // Created on first access.
    HubController& hub();

    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    // The menu's content: the update banner, then the hub's own items.
    StatusMenuModel buildMenu();
    // A new menu object replaces the old one on the status item.
    void rebuildMenu();
    void menuWillOpen(QMenu* menu);

    StatusItem* statusItem() const { return m_statusItem.get(); }
    // The settings window and the version checker (after hub() was created).
    LiteSettingsAndUpdates* windows() const { return m_windows.get(); }
    void resetStatusImage();

    static constexpr const char* kStatusSymbol = "square.grid.2x2";

    // How the other-build alert asks the user (tests answer for them).
    void setOtherBuildPresenter(OtherBuildAlert::Presenter presenter) {
        m_otherBuildPresenter = std::move(presenter);
    }

    // Whether the desktop has a tray host (tests say there is none).
    void setTrayAvailability(std::function<bool()> available) {
        m_trayAvailable = std::move(available);
    }

private:
    void writeLaunchTrace();
    // Says once, on standard error and in the log, how to reach the menu without a tray.
    void reportMissingTray();
    // Shows the alert and returns false when the other build is installed.
    bool otherBuildAllowsStart();
    void observeNotifications();

    HubController::Collaborators m_collaborators;
    HubSettings& m_settings;
    Workspace& m_workspace;
    std::unique_ptr<HubController> m_hub;
    std::unique_ptr<LiteSettingsAndUpdates> m_windows;
    std::unique_ptr<StatusItem> m_statusItem;
    std::unique_ptr<HubSettingsWatcher> m_settingsWatcher;
    OtherBuildAlert::Presenter m_otherBuildPresenter;
    std::function<bool()> m_trayAvailable;
};

} // namespace ovrel
