#include "OvrelHub/menu/DynamicMenuSections.h"

#include "OvrelHub/menu/ModuleMenuBuilder.h"
#include "OvrelModuleKit/menu/DynamicMenuBuilder.h"
#include "OvrelModuleKit/menu/DynamicMenuFile.h"
#include "Platform/bundle/BundleLocator.h"
#include "Platform/process/Workspace.h"
#include "Platform/tray/QtMenuRenderer.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <sys/stat.h>

namespace ovrel {

namespace {
QString bundleIdentifier(const QString& moduleId) {
    return QString::fromLatin1(kModuleBundleIdentifierPrefix) + moduleId;
}
} // namespace

StatusMenuItem DynamicMenuSections::makeItem(const DynamicMenuItem& item, const QString& moduleId,
                                             const Run& run) {
    StatusMenuItem out;
    out.id = QString::fromLatin1(kIdPrefix) + moduleId + QLatin1Char(':') + item.id;
    out.title = item.title;
    out.enabled = item.enabled;
    if (item.checked)
        out.checked = true;
    if (item.command) {
        const ModuleCommandRef ref{moduleId, *item.command, item.id};
        out.action = [run, ref] {
            if (run)
                run(ref);
        };
    }
    for (const DynamicMenuItem& child : item.children)
        out.children.push_back(makeItem(child, moduleId, run));
    return out;
}

namespace {

// One look at the running processes for all modules.
QSet<QString> runningIdentifiers(const QList<InstalledPair>& sources, Workspace& workspace) {
    if (sources.isEmpty())
        return {};
    QStringList identifiers;
    for (const InstalledPair& pair : sources)
        identifiers.append(bundleIdentifier(pair.module.id));
    return workspace.runningBundleIdentifiers(identifiers);
}

QString fileIdentity(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("-");
    return QStringLiteral("%1/%2.%3/%4")
        .arg(st.st_size)
        .arg(st.st_mtim.tv_sec)
        .arg(st.st_mtim.tv_nsec)
        .arg(st.st_ino);
}

} // namespace

StatusMenuModel DynamicMenuSections::moduleSection(const InstalledPair& pair, AppLanguage language,
                                                   const ModulePaths& paths, const Run& run) {
    const QString& id = pair.module.id;
    const QString moduleName = localizedText(pair.manifest.name(), language);
    const auto section = DynamicMenuBuilder::section(moduleName, DynamicMenuFile::read(paths, id),
                                                     pair.manifest.dynamicCommands(), true);
    if (!section)
        return {};
    StatusMenuModel out;
    StatusMenuItem header;
    header.id = QString::fromLatin1(kIdPrefix) + id + QStringLiteral(":header");
    header.title = section->moduleName;
    header.enabled = false;
    out.push_back(std::move(header));
    for (const DynamicMenuItem& item : section->items)
        out.push_back(makeItem(item, id, run));
    return out;
}

StatusMenuItem DynamicMenuSections::closingSeparator() {
    return StatusMenuItem::separator(QString::fromLatin1(kIdPrefix) + QStringLiteral("separator"));
}

StatusMenuModel DynamicMenuSections::items(const QList<InstalledPair>& sources,
                                           AppLanguage language, const ModulePaths& paths,
                                           Workspace& workspace, const Run& run) {
    const QSet<QString> running = runningIdentifiers(sources, workspace);
    StatusMenuModel out;
    for (const InstalledPair& pair : sources) {
        // The file of a module that does not run is never read: its entries
        // would be dropped anyway, and a stale bad file would log on every opening.
        if (!running.contains(bundleIdentifier(pair.module.id)))
            continue;
        StatusMenuModel section = moduleSection(pair, language, paths, run);
        out.insert(out.end(), std::make_move_iterator(section.begin()),
                   std::make_move_iterator(section.end()));
    }
    if (!out.empty())
        out.push_back(closingSeparator());
    return out;
}

void DynamicMenuSections::removeAll(QMenu& menu) {
    // Called while the menu is about to show, never from one of these actions,
    // so they can go at once.
    for (QAction* action : menu.actions()) {
        if (!QtMenuRenderer::idOf(*action).startsWith(QLatin1String(kIdPrefix)))
            continue;
        menu.removeAction(action);
        delete action->menu();
        delete action;
    }
}

qsizetype DynamicMenuSections::insertedCount(const QMenu& menu) {
    qsizetype count = 0;
    for (const QAction* action : menu.actions()) {
        if (QtMenuRenderer::idOf(*action).startsWith(QLatin1String(kIdPrefix)))
            ++count;
    }
    return count;
}

void DynamicMenuSections::deleteActions(QMenu& menu, const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        menu.removeAction(action);
        delete action->menu();
        delete action;
    }
}

void DynamicMenuSections::refresh(QMenu& menu, const Inputs& inputs, Workspace& workspace,
                                  const Run& run) {
    const QSet<QString> running = runningIdentifiers(inputs.sources, workspace);
    QStringList identities;
    for (const InstalledPair& pair : inputs.sources) {
        const QString& id = pair.module.id;
        identities.append(running.contains(bundleIdentifier(id))
                              ? fileIdentity(inputs.paths.dynamicMenuFile(id))
                              : QString());
    }
    const Context context{&menu, inputs.sourcesGeneration, inputs.language, inputs.anchorId};
    QAction* anchor = QtMenuRenderer::findById(menu, inputs.anchorId);
    const bool reusable = m_context && *m_context == context && anchor &&
                          insertedCount(menu) == m_insertedCount &&
                          m_slots.size() == static_cast<size_t>(identities.size());
    if (!reusable) {
        removeAll(menu);
        m_slots.assign(static_cast<size_t>(identities.size()), Slot{});
        m_separator = nullptr;
        m_context = context;
        if (!anchor) {
            m_insertedCount = 0;
            return;
        }
    }

    // Only the sections whose module started, stopped or republished change;
    // each keeps its place between the anchor and the closing separator.
    QAction* after = anchor;
    for (qsizetype i = 0; i < identities.size(); ++i) {
        Slot& slot = m_slots[static_cast<size_t>(i)];
        if (reusable && slot.identity == identities[i]) {
            if (!slot.actions.isEmpty())
                after = slot.actions.last();
            continue;
        }
        deleteActions(menu, slot.actions);
        slot.actions.clear();
        slot.identity = identities[i];
        if (!slot.identity.isEmpty()) {
            const QList<QAction*> actions = menu.actions();
            const qsizetype at = actions.indexOf(after);
            QAction* before = at + 1 < actions.size() ? actions[at + 1] : nullptr;
            slot.actions = QtMenuRenderer::insert(
                moduleSection(inputs.sources[i], inputs.language, inputs.paths, run), menu, before);
        }
        if (!slot.actions.isEmpty())
            after = slot.actions.last();
    }

    const bool anySection = std::any_of(m_slots.cbegin(), m_slots.cend(),
                                        [](const Slot& slot) { return !slot.actions.isEmpty(); });
    if (anySection && !m_separator) {
        const QList<QAction*> actions = menu.actions();
        const qsizetype at = actions.indexOf(after);
        QAction* before = at + 1 < actions.size() ? actions[at + 1] : nullptr;
        m_separator = QtMenuRenderer::insert({closingSeparator()}, menu, before).first();
    } else if (!anySection && m_separator) {
        deleteActions(menu, {m_separator});
        m_separator = nullptr;
    }
    m_insertedCount = insertedCount(menu);
}

void DynamicMenuSections::rebuild(QMenu& menu, const QString& anchorId,
                                  const StatusMenuModel& items) {
    removeAll(menu);
    const QList<QAction*> actions = menu.actions();
    const auto anchor = std::find_if(actions.cbegin(), actions.cend(), [&](const QAction* action) {
        return QtMenuRenderer::idOf(*action) == anchorId;
    });
    if (anchor == actions.cend())
        return;
    QAction* before = std::next(anchor) == actions.cend() ? nullptr : *std::next(anchor);
    QtMenuRenderer::insert(items, menu, before);
}

} // namespace ovrel
