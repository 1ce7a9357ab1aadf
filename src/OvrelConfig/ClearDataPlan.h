#pragma once

#include <QSet>
#include <QtGlobal>

namespace ovrel {

// A category of server-side data the user can delete, in display order.
enum class ClearDataAction { submissions, stats, sync, account };

inline size_t qHash(ClearDataAction action, size_t seed = 0) noexcept {
    return ::qHash(static_cast<int>(action), seed);
}

// What to delete for the user's choices, and what to clean up locally after.
namespace ClearDataPlan {

// Deleting the account deletes the statistics and the synced data on the
// server too, so those are not sent separately then.
QSet<ClearDataAction> actions(bool submissions, bool stats, bool sync, bool account);

// Statistics kept on this machine go once their server copy is gone.
bool shouldClearLocalStats(bool statsChecked, const QSet<ClearDataAction>& succeeded);

} // namespace ClearDataPlan

} // namespace ovrel
