#include "OvrelHub/menu/DynamicMenuSections.h"

#include "OvrelHub/menu/ModuleMenuBuilder.h"
#include "OvrelModuleKit/DynamicMenuBuilder.h"
#include "OvrelModuleKit/DynamicMenuFile.h"
#include "Platform/BundleLocator.h"
#include "Platform/QtMenuRenderer.h"
#include "Platform/Workspace.h"

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

StatusMenuModel DynamicMenuSections::items(const QList<InstalledPair>& sources,
                                           AppLanguage language, const ModulePaths& paths,
                                           Workspace& workspace, const Run& run) {
    const QSet<QString> running = runningIdentifiers(sources, workspace);

    StatusMenuModel out;
    for (const InstalledPair& pair : sources) {
        const QString& id = pair.module.id;
        const bool isRunning = running.contains(bundleIdentifier(id));
        const QString moduleName = localizedText(pair.manifest.name(), language);
        // The file of a module that does not run is never read: its entries
        // would be dropped anyway, and a stale bad file would log on every opening.
        if (!isRunning)
            continue;
        const auto section =
            DynamicMenuBuilder::section(moduleName, DynamicMenuFile::read(paths, id),
                                        pair.manifest.dynamicCommands(), isRunning);
        if (!section)
            continue;
        StatusMenuItem header;
        header.id = QString::fromLatin1(kIdPrefix) + id + QStringLiteral(":header");
        header.title = section->moduleName;
        header.enabled = false;
        out.push_back(std::move(header));
        for (const DynamicMenuItem& item : section->items)
            out.push_back(makeItem(item, id, run));
    }
    if (!out.empty())
        out.push_back(StatusMenuItem::separator(QString::fromLatin1(kIdPrefix) +
                                                QStringLiteral("separator")));
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

void DynamicMenuSections::refresh(QMenu& menu, const Inputs& inputs, Workspace& workspace,
                                  const Run& run) {
    const QSet<QString> running = runningIdentifiers(inputs.sources, workspace);
    Signature signature{&menu, inputs.sourcesGeneration, inputs.language, inputs.anchorId, {}};
    for (const InstalledPair& pair : inputs.sources) {
        if (running.contains(bundleIdentifier(pair.module.id)))
            signature.files.append(pair.module.id + QLatin1Char('=') +
                                   fileIdentity(inputs.paths.dynamicMenuFile(pair.module.id)));
    }
    if (m_last && *m_last == signature && QtMenuRenderer::findById(menu, inputs.anchorId) &&
        insertedCount(menu) == m_insertedCount)
        return;
    const StatusMenuModel fresh =
        items(inputs.sources, inputs.language, inputs.paths, workspace, run);
    rebuild(menu, inputs.anchorId, fresh);
    m_last = signature;
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
