#include "OvrelHub/settings/SidebarModel.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/settings/ModuleDisplayName.h"

namespace ovrel {

namespace {
SidebarItem symbolItem(SettingsRoute route, const char* symbol, QString title) {
    SidebarItem item;
    item.route = std::move(route);
    item.icon.symbol = QString::fromLatin1(symbol);
    item.title = std::move(title);
    return item;
}
} // namespace

bool SidebarModel::anyPermissionDeclared(const std::map<QString, InstalledModule>& installed,
                                         const std::map<QString, ModuleManifest>& manifests) {
    for (const auto& [id, module] : installed) {
        const auto manifest = manifests.find(id);
        if (manifest != manifests.end() && !manifest->second.permissions().isEmpty())
            return true;
    }
    return false;
}

QList<SidebarItem> SidebarModel::items(const std::shared_ptr<EditionSettings>& edition,
                                       const std::map<QString, InstalledModule>& installed,
                                       const std::map<QString, ModuleManifest>& manifests,
                                       AppLanguage language, bool hasAnyPermissionDeclaring) {
    QList<SidebarItem> items;
    if (edition) {
        SidebarItem item;
        item.route = SettingsRoute::edition();
        item.icon.symbol = edition->iconSymbol;
        item.title = edition->title;
        items.append(item);
    }
    items.append(symbolItem(SettingsRoute::general(), "gearshape",
                            Loc::t(LocKey::settingsGeneral, language)));
    items.append(
        symbolItem(SettingsRoute::store(), "square.grid.2x2", Loc::t(LocKey::appsStore, language)));
    if (hasAnyPermissionDeclaring)
        items.append(symbolItem(SettingsRoute::permissions(), "lock.shield",
                                Loc::t(LocKey::permissionsSectionTitle, language)));
    for (const auto& [id, module] : installed) { // std::map: ascending ids
        SidebarItem item;
        item.route = SettingsRoute::module(id);
        item.icon = {SidebarItem::Icon::Kind::moduleBundle, {}, id, module.appName};
        const auto manifest = manifests.find(id);
        item.title = moduleDisplayName(
            id, manifest == manifests.end() ? nullptr : &manifest->second, language);
        items.append(item);
    }
    SidebarItem account = symbolItem(SettingsRoute::account(), "person.crop.circle",
                                     Loc::t(LocKey::account, language));
    account.pinnedToBottom = true;
    items.append(account);
    return items;
}

} // namespace ovrel
