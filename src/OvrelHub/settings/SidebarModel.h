#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/modules/InstalledModule.h"
#include "OvrelHub/settings/SettingsRoute.h"
#include "OvrelHub/shell/EditionSettings.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QList>
#include <map>
#include <memory>

namespace ovrel {

// One cell of the settings window's icon rail.
struct SidebarItem {
    struct Icon {
        enum class Kind { symbol, moduleBundle };
        Kind kind = Kind::symbol;
        QString symbol;   // symbol
        QString moduleId; // moduleBundle
        QString appName;  // moduleBundle
        bool operator==(const Icon&) const = default;
    };

    SettingsRoute route;
    Icon icon;
    QString title; // the cell's tooltip and accessible name
    bool pinnedToBottom = false;

    bool operator==(const SidebarItem&) const = default;
};

// The rail's cells, in order: the edition's page (when it has one), general,
// store, the permissions overview (only when a module declares a permission),
// one per installed module by id, and the account pinned to the bottom.
namespace SidebarModel {

QList<SidebarItem> items(const std::shared_ptr<EditionSettings>& edition,
                         const std::map<QString, InstalledModule>& installed,
                         const std::map<QString, ModuleManifest>& manifests, AppLanguage language,
                         bool hasAnyPermissionDeclaring);

// Whether some installed module's manifest declares a permission.
bool anyPermissionDeclared(const std::map<QString, InstalledModule>& installed,
                           const std::map<QString, ModuleManifest>& manifests);

} // namespace SidebarModel

} // namespace ovrel
