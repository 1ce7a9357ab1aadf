#include "OvrelLite/ModuleAutoUpdate.h"

#include "OvrelHub/modules/AppModules.h"
#include "OvrelHub/store/ModuleUpdater.h"

namespace ovrel {

std::function<void()> moduleAutoUpdateCheck(AppModules& modules, Workspace& workspace) {
    return [&modules, &workspace] {
        ModuleUpdater::run({modules.catalog, modules.store, modules.state, workspace});
    };
}

} // namespace ovrel
