#include "OvrelConfig/ClearDataPlan.h"

namespace ovrel::ClearDataPlan {

QSet<ClearDataAction> actions(bool submissions, bool stats, bool sync, bool account) {
    QSet<ClearDataAction> plan;
    if (submissions)
        plan.insert(ClearDataAction::submissions);
    if (account) {
        plan.insert(ClearDataAction::account);
        return plan;
    }
    if (stats)
        plan.insert(ClearDataAction::stats);
    if (sync)
        plan.insert(ClearDataAction::sync);
    return plan;
}

bool shouldClearLocalStats(bool statsChecked, const QSet<ClearDataAction>& succeeded) {
    return statsChecked && (succeeded.contains(ClearDataAction::stats) ||
                            succeeded.contains(ClearDataAction::account));
}

} // namespace ovrel::ClearDataPlan
