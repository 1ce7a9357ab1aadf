#pragma once

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/resident/ResidentModuleService.h"

namespace ovrel {

// The run-in-background switch of one module: stores the choice in the
// module's entry, then registers or unregisters its agent. A failure of the
// agent is logged; the stored choice keeps the new value. Blocks while the
// agent tool runs: call it off the main thread.
class ResidentSwitch {
public:
    ResidentSwitch(ModuleStateStore& state, ResidentModuleService& service);

    void set(const QString& id, bool on);

private:
    ModuleStateStore& m_state;
    ResidentModuleService& m_service;
};

} // namespace ovrel
