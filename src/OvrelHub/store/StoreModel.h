#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/CatalogEntry.h"
#include "OvrelConfig/Hotkey.h"
#include "OvrelConfig/ModuleHotkeyConflict.h"
#include "OvrelHub/modules/InstalledModule.h"
#include "OvrelModuleKit/manifest/MenuEntry.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QList>
#include <map>
#include <set>
#include <vector>

namespace ovrel {

// Decisions the store makes around installs.
class StoreModel {
public:
    using Installed = std::map<QString, InstalledModule>;
    using Manifests = std::map<QString, ModuleManifest>;

    // The catalog's entries in its order, then, by ascending id, every
    // installed module the catalog does not list, named by its manifest (or
    // not at all when that does not load) and without a release, so it can
    // still be opened and uninstalled.
    static QList<CatalogEntry> mergedEntries(const QList<CatalogEntry>& catalog,
                                             const Installed& installed,
                                             const Manifests& manifests);

    // The entries whose displayed name or summary contains the query, both
    // compared as normalised by searchKey(); a blank query keeps them all.
    static QList<CatalogEntry> filter(const QList<CatalogEntry>& entries, const QString& query,
                                      const Manifests& manifests, AppLanguage language);

    // "đ" as "d", case and diacritics folded, trimmed: "Đồng Hồ " -> "dong ho".
    static QString searchKey(const QString& text);

    // The module's shortcuts after an install or update: the current ones, plus
    // each manifest default that the user never cleared and nobody else holds.
    static CommandHotkeys
    defaultHotkeyAssignment(const QString& moduleId, const QList<MenuEntry>& menu,
                            CommandHotkeys current, const std::set<QString>& cleared,
                            const ModuleHotkeyConflict::ModuleHotkeys& othersHotkeys,
                            const std::vector<Hotkey>& reserved);
};

} // namespace ovrel
