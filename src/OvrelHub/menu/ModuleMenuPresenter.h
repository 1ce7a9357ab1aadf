#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/menu/MenuLayout.h"
#include "OvrelHub/menu/ModuleMenuItem.h"
#include "OvrelHub/modules/InstalledPair.h"
#include "OvrelHub/runner/ModuleCommandRef.h"
#include "Platform/tray/StatusMenuModel.h"

#include <QHash>
#include <QIcon>
#include <QSet>
#include <functional>

namespace ovrel {

// What the status menu's module sections are drawn from; replaced as a whole
// by each refresh.
struct ModuleMenuModel {
    QList<ModuleMenuItem> items;
    QHash<QString, QIcon> icons;     // menu size, by module id
    QHash<QString, QIcon> gridIcons; // grid size, by module id
    QSet<QString> quickAccessModuleIds;
    QList<InstalledPair> dynamicMenuSources;
};

// Turns the module model into status-menu values: list items, the grid with its
// overflow, and the quick-access submenus.
class ModuleMenuPresenter {
public:
    using Run = std::function<void(const ModuleCommandRef&)>;
    using CloseMenu = std::function<void()>;

    ModuleMenuPresenter(const ModuleMenuModel& model, AppLanguage language, Run run,
                        CloseMenu closeMenu);

    StatusMenuModel listItems(const QList<ModuleMenuItem>& items) const;
    // The grid as one custom-view item, plus "Show more" when modules overflow;
    // the list of all items when the layout shows no rows.
    StatusMenuModel gridItems(const QList<ModuleMenuItem>& items,
                              const MenuGridLayout& layout) const;
    StatusMenuModel overflowItems(const QList<ModuleMenuItem>& items,
                                  const QHash<QString, QString>& summaries) const;
    StatusMenuModel quickAccessItems() const;

    // Summary text of every module with a manifest, by module id.
    QHash<QString, QString> summaries() const;

    static QString twoLineTitle(const QString& name, const QString& subtitle);

private:
    StatusMenuItem commandItem(const ModuleMenuItem& item, const QString& subtitle,
                               const ModuleCommandRef& ref) const;

    const ModuleMenuModel& m_model;
    AppLanguage m_language;
    Run m_run;
    CloseMenu m_closeMenu;
};

} // namespace ovrel
