#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/modules/InstalledModule.h"
#include "OvrelHub/settings/SettingsRoute.h"
#include "OvrelHub/settings/SettingsServices.h"
#include "OvrelHub/shell/EditionSettings.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

class QScrollArea;

namespace ovrel {

class RemoteImageCache;
class SidebarRail;
class StoreOperations;

// The settings window's content: the icon rail and the pane of the current
// route, scrolled when it is taller than the window. Loads the installed
// modules when created and again on every modules-changed notification; a
// route to a module that is gone shows the store. Follows the interface
// language. The route is not persisted. Main thread.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    SettingsView(SettingsServices& services, std::shared_ptr<EditionSettings> edition,
                 SettingsRoute initialRoute, QWidget* parent = nullptr);

    const SettingsRoute& route() const { return m_route; }
    // The route as shown: module routes of uninstalled modules become the store.
    SettingsRoute safeRoute() const;
    void setRoute(const SettingsRoute& route);

    SidebarRail* rail() const { return m_rail; }
    QWidget* pane() const { return m_pane; }
    const std::map<QString, InstalledModule>& installed() const { return m_installed; }
    // The store's state and work, kept for the window's life; null without a store.
    StoreOperations* storeOperations();
    RemoteImageCache* images();

    void reload();

signals:
    void reloaded(); // the modules were read again and the view redrawn

private:
    void rebuildRail();
    void showPane();
    QWidget* makePane(const SettingsRoute& route);
    QWidget* makeStorePane(const StorePage& page);
    QWidget* makeAccountPane();
    void followLanguage();

    SettingsServices& m_services;
    std::shared_ptr<EditionSettings> m_edition;
    SettingsRoute m_route;
    AppLanguage m_lang;
    std::map<QString, InstalledModule> m_installed;
    std::map<QString, ModuleManifest> m_manifests;
    bool m_loaded = false;
    StoreOperations* m_storeOperations = nullptr;
    RemoteImageCache* m_images = nullptr;
    quint64 m_reloadGeneration = 0;

    SidebarRail* m_rail = nullptr;
    QScrollArea* m_scroll = nullptr;
    QPointer<QWidget> m_pane;
    SettingsRoute m_paneRoute;                    // what the pane shows
    std::optional<ModuleManifest> m_paneManifest; // the manifest a module pane was built from
};

} // namespace ovrel
