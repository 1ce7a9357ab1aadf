#include "OvrelHub/resident/ResidentReconciler.h"

#include <algorithm>

namespace ovrel::ResidentReconciler {

QList<ResidentAction> plan(const QList<Module>& modules, const QSet<QString>& registered) {
    QList<ResidentAction> actions;
    QSet<QString> listed;
    for (const Module& module : modules) {
        listed.insert(module.id);
        const bool wanted = module.mode == ModuleMode::resident && module.residentEnabled;
        const bool exists = registered.contains(module.id);
        if (wanted && !exists)
            actions.append(ResidentAction::registerAgent(module.id));
        else if (!wanted && exists)
            actions.append(ResidentAction::unregisterAgent(module.id));
        else
            actions.append(ResidentAction::leaveAlone(module.id));
    }
    QStringList orphans;
    for (const QString& id : registered) {
        if (!listed.contains(id))
            orphans.append(id);
    }
    // The set has no order; the plan must not depend on it.
    std::sort(orphans.begin(), orphans.end());
    for (const QString& id : orphans)
        actions.append(ResidentAction::unregisterAgent(id));
    std::stable_sort(actions.begin(), actions.end(),
                     [](const ResidentAction& a, const ResidentAction& b) { return a.id < b.id; });
    return actions;
}

} // namespace ovrel::ResidentReconciler
