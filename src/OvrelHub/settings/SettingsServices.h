#pragma once

#include "OvrelHub/modules/InstalledPair.h"
#include "OvrelHub/update/UpdateRelease.h"

#include <QFuture>
#include <QList>
#include "OvrelHub/shell/ServiceRequest.h"
#include <QUrl>
#include <functional>
#include <optional>

namespace ovrel {

class HubSettings;
class LoginItem;
class ModuleCommandSending;
class ModuleSettingsStore;
class ModuleStateStore;
class NotificationCenter;
class ResidentStatusCheck;
class ResidentSwitch;
class ShortcutManager;
class VersionChecker;
class Workspace;
struct AccountTabServices;
struct StoreServices;

// What the settings window works with, borrowed from the wiring: every
// reference must outlive the window. A control whose service is missing (no
// agent control on this desktop, a test without it) is left out.
struct SettingsServices {
    HubSettings& settings;
    NotificationCenter& center;
    Workspace& workspace;
    ModuleStateStore& state;
    const ModuleSettingsStore& moduleSettings;
    LoginItem& loginItem;
    std::function<QFuture<QList<InstalledPair>>()> installedManifests;
    std::function<ModuleCommandSending*()> runner;
    // A checker for the manual check of the general pane, owned by `owner`.
    std::function<VersionChecker*(QObject* owner)> makeVersionChecker;
    std::function<void(const UpdateRelease&)> showWhatsNew;
    // Module settings may have changed (the settings sync looks again).
    std::function<void()> moduleSettingsChanged = [] {};
    // The run-in-background switch and its status line need both. Their calls
    // block while the agent tool runs, so panes make them off the main thread.
    ResidentSwitch* residentSwitch = nullptr;
    ResidentStatusCheck* residentStatus = nullptr;
    ShortcutManager* shortcuts = nullptr; // the applications-menu switch
    QString runningVersion;               // empty when the program has none
    // Fetches the store's images and the account's avatar; none: placeholders stay.
    ServiceNetwork* imageNetwork = nullptr;
    StoreServices* store = nullptr;        // the store pane stays empty without it
    AccountTabServices* account = nullptr; // the account tab stays empty without it
};

} // namespace ovrel
