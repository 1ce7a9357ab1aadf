#include "OvrelHub/menu/ModuleMenuPresenter.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/menu/GridIconMetrics.h"
#include "OvrelHub/menu/ModuleGridView.h"
#include "OvrelHub/menu/ModuleMenuBuilder.h"
#include "OvrelModuleKit/inbox/ModuleCommand.h"

namespace ovrel {

ModuleMenuPresenter::ModuleMenuPresenter(const ModuleMenuModel& model, AppLanguage language,
                                         Run run, CloseMenu closeMenu)
    : m_model(model), m_language(language), m_run(std::move(run)),
      m_closeMenu(std::move(closeMenu)) {}

QString ModuleMenuPresenter::twoLineTitle(const QString& name, const QString& subtitle) {
    return name + QLatin1Char('\n') + subtitle;
}

StatusMenuItem ModuleMenuPresenter::commandItem(const ModuleMenuItem& item, const QString& subtitle,
                                                const ModuleCommandRef& ref) const {
    StatusMenuItem out;
    out.id = QStringLiteral("module:") + item.moduleId + QLatin1Char(':') + ref.command;
    out.title = item.moduleName;
    out.subtitle = subtitle;
    out.icon = m_model.icons.value(item.moduleId);
    Run run = m_run;
    out.action = [run, ref] {
        if (run)
            run(ref);
    };
    return out;
}

StatusMenuModel ModuleMenuPresenter::listItems(const QList<ModuleMenuItem>& items) const {
    StatusMenuModel out;
    for (const ModuleMenuItem& item : items)
        out.push_back(
            commandItem(item, item.title, ModuleCommandRef{item.moduleId, item.command, {}}));
    return out;
}

QHash<QString, QString> ModuleMenuPresenter::summaries() const {
    QHash<QString, QString> out;
    for (const InstalledPair& pair : m_model.dynamicMenuSources)
        out.insert(pair.module.id, localizedText(pair.manifest.summary(), m_language));
    return out;
}

StatusMenuModel ModuleMenuPresenter::gridItems(const QList<ModuleMenuItem>& items,
                                               const MenuGridLayout& layout) const {
    const MenuLayout::Arrangement arrangement =
        MenuLayout::arrange(ModuleGridBuilder::dedupe(items), layout);
    if (arrangement.rows.isEmpty())
        return listItems(items);
    const QHash<QString, QString> summaryById = summaries();

    std::vector<std::vector<ModuleGridCell>> rows;
    QStringList description;
    for (const QList<ModuleMenuItem>& row : arrangement.rows) {
        std::vector<ModuleGridCell> cells;
        QStringList rowText;
        for (const ModuleMenuItem& item : row) {
            const QString subtitle =
                summaryById.contains(item.moduleId) ? summaryById.value(item.moduleId) : item.title;
            const ModuleCommandRef ref{item.moduleId, QString(ModuleCommand::open), {}};
            Run run = m_run;
            CloseMenu close = m_closeMenu;
            cells.push_back(ModuleGridCell{item.moduleId, item.moduleName, subtitle,
                                           m_model.gridIcons.value(item.moduleId),
                                           [run, close, ref] {
                                               if (close)
                                                   close();
                                               if (run)
                                                   run(ref);
                                           }});
            rowText.append(item.moduleName);
        }
        rows.push_back(std::move(cells));
        description.append(rowText.join(QStringLiteral(" | ")));
    }

    StatusMenuModel out;
    StatusMenuItem grid;
    grid.kind = StatusMenuItem::Kind::customView;
    grid.id = QStringLiteral("module-grid");
    grid.viewDescription = QStringLiteral("grid ") + QString::number(layout.columns) +
                           QStringLiteral(" columns: ") + description.join(QStringLiteral(" / "));
    const int columns = layout.columns;
    grid.makeView = [rows, columns](QWidget* parent) {
        return new ModuleGridView(rows, columns, parent);
    };
    out.push_back(std::move(grid));

    if (!arrangement.overflow.isEmpty()) {
        StatusMenuItem more;
        more.id = QStringLiteral("module-grid-more");
        more.title = Loc::t(LocKey::menuLayoutShowMore, m_language);
        more.children = overflowItems(arrangement.overflow, summaryById);
        out.push_back(std::move(more));
    }
    return out;
}

StatusMenuModel ModuleMenuPresenter::overflowItems(const QList<ModuleMenuItem>& items,
                                                   const QHash<QString, QString>& summaries) const {
    StatusMenuModel out;
    for (const ModuleMenuItem& item : items) {
        const QString subtitle =
            summaries.contains(item.moduleId) ? summaries.value(item.moduleId) : item.title;
        out.push_back(commandItem(
            item, subtitle, ModuleCommandRef{item.moduleId, QString(ModuleCommand::open), {}}));
    }
    return out;
}

StatusMenuModel ModuleMenuPresenter::quickAccessItems() const {
    StatusMenuModel out;
    for (const auto& group :
         QuickAccessMenuBuilder::items(m_model.items, m_model.quickAccessModuleIds)) {
        StatusMenuItem item;
        item.id = QStringLiteral("quick:") + group.moduleId;
        item.title = group.moduleName;
        item.children = listItems(group.commands);
        out.push_back(std::move(item));
    }
    return out;
}

} // namespace ovrel
