#include "OvrelHub/menu/MenuLayout.h"

#include <QSet>

namespace ovrel {

MenuLayout::Arrangement MenuLayout::arrange(const QList<ModuleMenuItem>& items,
                                            const MenuGridLayout& layout) {
    Arrangement out;
    const qsizetype shown = std::min<qsizetype>(items.size(), layout.capacity());
    for (qsizetype i = 0; i < shown; i += layout.columns)
        out.rows.append(items.mid(i, std::min<qsizetype>(layout.columns, shown - i)));
    out.overflow = items.mid(shown);
    return out;
}

QList<ModuleMenuItem> ModuleGridBuilder::dedupe(const QList<ModuleMenuItem>& items) {
    QList<ModuleMenuItem> out;
    QSet<QString> seen;
    for (const ModuleMenuItem& item : items) {
        if (seen.contains(item.moduleId))
            continue;
        seen.insert(item.moduleId);
        out.append(item);
    }
    return out;
}

QList<QuickAccessMenuBuilder::Group>
QuickAccessMenuBuilder::items(const QList<ModuleMenuItem>& items, const QSet<QString>& enabled) {
    QList<Group> groups;
    for (const ModuleMenuItem& item : items) {
        if (!enabled.contains(item.moduleId))
            continue;
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const Group& g) { return g.moduleId == item.moduleId; });
        if (group == groups.end())
            groups.append(Group{item.moduleId, item.moduleName, {item}});
        else
            group->commands.append(item);
    }
    return groups;
}

} // namespace ovrel
