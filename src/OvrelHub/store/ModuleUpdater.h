#pragma once

#include "OvrelConfig/ModuleAction.h"
#include "OvrelHub/store/InstallCompletion.h"
#include "OvrelHub/store/UpdateDecisionForModule.h"
#include "OvrelModuleKit/manifest/ModuleMode.h"

#include <QFuture>
#include <functional>

namespace ovrel {

class ModuleCatalogClient;
class ModuleStateStore;
class ModuleStore;
class Workspace;

// Keeps installed modules current: asks the catalog for newer releases and
// installs each through the store, one after another. A module open in front
// of the user waits for a later run; a resident one is updated at once (the
// install restarts its agent). Nothing is remembered between runs: a deferred
// or failed update is found again by the next one.
class ModuleUpdater {
public:
    struct Collaborators {
        const ModuleCatalogClient& catalog;
        ModuleStore& store;
        ModuleStateStore& state;
        Workspace& workspace; // which modules are running
        SystemVersionSource systemVersion = InstallCompletion::defaultSystemVersion();
        std::function<void()> modulesChanged = {}; // none: post ovrelModulesChanged
    };

    // Starts a run on the main thread; the future finishes when it ends and
    // never fails (failures are logged). Collaborators must outlive the run.
    static QFuture<void> run(Collaborators collaborators);

    static UpdateDecisionForModule decide(const ModuleAction& action, bool autoUpdate,
                                          bool isRunning, ModuleMode mode);
};

} // namespace ovrel
