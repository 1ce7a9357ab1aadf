#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/modules/InstalledPair.h"
#include "OvrelHub/runner/ModuleCommandRef.h"
#include "OvrelModuleKit/menu/DynamicMenuItem.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/tray/StatusMenuModel.h"

#include <QList>
#include <functional>

class QAction;
class QMenu;

namespace ovrel {

class Workspace;

// The menus that running modules publish, read afresh on every opening of the
// status menu and placed after the module section.
class DynamicMenuSections {
public:
    // Identifies every item this class adds, so the next opening removes exactly those.
    static constexpr const char* kIdPrefix = "dynamic:";

    using Run = std::function<void(const ModuleCommandRef&)>;

    // Header, entries and one closing separator for every running module whose
    // file yields a section; nothing when no module has one.
    static StatusMenuModel items(const QList<InstalledPair>& sources, AppLanguage language,
                                 const ModulePaths& paths, Workspace& workspace, const Run& run);

    static StatusMenuItem makeItem(const DynamicMenuItem& item, const QString& moduleId,
                                   const Run& run);

    // Removes the previous opening's items, then inserts `items` right after
    // the item with `anchorId`; inserts nothing when the anchor is gone.
    static void rebuild(QMenu& menu, const QString& anchorId, const StatusMenuModel& items);
    static void removeAll(QMenu& menu);

    // What decides the inserted items besides the files' content: the sources,
    // the language, where they go, which modules run and each published file's
    // identity (size, modification time, inode). Files are replaced atomically,
    // so an unchanged identity means unchanged bytes.
    struct Inputs {
        const QList<InstalledPair>& sources;
        quint64 sourcesGeneration; // changes whenever the sources are replaced
        AppLanguage language;
        const ModulePaths& paths;
        QString anchorId;
    };

    // One opening of the status menu: the same items as reading every file
    // again, but the menu is left as it is when nothing that decides them changed.
    void refresh(QMenu& menu, const Inputs& inputs, Workspace& workspace, const Run& run);

private:
    static StatusMenuModel moduleSection(const InstalledPair& pair, AppLanguage language,
                                         const ModulePaths& paths, const Run& run);
    static StatusMenuItem closingSeparator();
    static void deleteActions(QMenu& menu, const QList<QAction*>& actions);
    static qsizetype insertedCount(const QMenu& menu);

    // What, besides each module's file, decides the inserted items.
    struct Context {
        QMenu* menu = nullptr;
        quint64 sourcesGeneration = 0;
        AppLanguage language = AppLanguage::vi;
        QString anchorId;
        bool operator==(const Context&) const = default;
    };
    // One source module: the identity of its file while it runs (empty when it
    // does not) and the actions its section put into the menu.
    struct Slot {
        QString identity;
        QList<QAction*> actions;
    };

    std::optional<Context> m_context;
    std::vector<Slot> m_slots;
    QAction* m_separator = nullptr;
    qsizetype m_insertedCount = 0; // the menu's own content was replaced if this no longer holds
};

} // namespace ovrel
