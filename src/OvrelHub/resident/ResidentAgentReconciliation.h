#pragma once

#include "OvrelHub/modules/InstalledPair.h"
#include "OvrelHub/resident/ResidentModuleService.h"
#include "OvrelHub/resident/ResidentReconciler.h"

#include <QList>

namespace ovrel {

// The hub's start-up pass over the agents: loads the existing agent files
// where the control needs it, plans against the installed modules and carries
// out each step, logging every change and every failure; no failure stops the
// pass. Blocks while the agent tool runs: the hub calls it off the main thread.
namespace ResidentAgentReconciliation {

// Returns the plan that was carried out.
QList<ResidentAction> run(const QList<InstalledPair>& installed, ResidentModuleService& service);

} // namespace ResidentAgentReconciliation

} // namespace ovrel
