#pragma once

#include <functional>

namespace ovrel {

class AppModules;
class Workspace;

// The module auto-update check over the shared module services: each call
// starts one ModuleUpdater run. The hub runs it at launch and daily.
std::function<void()> moduleAutoUpdateCheck(AppModules& modules, Workspace& workspace);

} // namespace ovrel
