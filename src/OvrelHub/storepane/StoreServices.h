#pragma once

#include "OvrelHub/store/ModuleCatalogClient.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace ovrel {

class ModuleStore;
class ShortcutManager;

// What the store pane works with, borrowed from the wiring: every reference
// must outlive the settings window.
struct StoreServices {
    ModuleStore& store;
    // The catalog client over the service base as it stands now.
    std::function<ModuleCatalogClient()> catalog;
    ShortcutManager* shortcuts = nullptr; // none: launchers are left alone
    QString hostVersion = ModuleCatalogClient::hostVersion();
    std::function<QString()> systemVersion;
    // The "devLocalInstall" preference, read each time the pane is built.
    std::function<bool()> devLocalInstall = [] { return false; };
    // Asks the user for a module bundle; none when the user cancelled.
    std::function<std::optional<QString>(QWidget* parent)> pickBundle;
};

} // namespace ovrel
