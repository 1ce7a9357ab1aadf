#pragma once

#include "OvrelConfig/AppLanguage.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <functional>

namespace ovrel {

class ModuleCatalogClient;
class ModuleRunner;
class ModuleStateStore;
class ModuleStore;
class PendingResults;
class Workspace;

// What commands work with: the module services of the process that runs them
// (the hub, or the command-line process when no hub runs) and the two things
// that differ between the two.
struct HubCommandContext {
    ModuleStore& store;
    ModuleStateStore& state;
    ModuleRunner& runner;
    Workspace& workspace;
    // Continuations that answer the caller run on this object's thread (main).
    QObject* mainThread = nullptr;
    std::function<AppLanguage()> language;
    // After an install or uninstall: the hub refreshes its menu; nothing to do
    // without one.
    std::function<void()> modulesChanged;
    // The status menu as text, with the sections of running modules, once the
    // installed modules are known.
    std::function<QFuture<QString>()> menuText;
    // The online catalog; none: the catalog commands fail saying so.
    const ModuleCatalogClient* catalog = nullptr;
    // Delivers results of work on other threads (the store's) to the main
    // thread; the process finishes it before it tears down. Needed by the
    // catalog commands.
    PendingResults* results = nullptr;
};

} // namespace ovrel
