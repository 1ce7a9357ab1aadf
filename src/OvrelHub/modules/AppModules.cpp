#include "OvrelHub/modules/AppModules.h"

#include "OvrelHub/shell/ServiceEndpoints.h"
#include "Platform/bundle/BundleLocator.h"
#include "Platform/plist/UserDefaults.h"

namespace ovrel {

AppModules& AppModules::shared() {
    // Never destroyed: the store's worker must not be joined while the
    // process is tearing down the objects it uses.
    static AppModules* const instance = [] {
        const ModulePaths& paths = ModulePaths::defaultPaths();
        DesktopWorkspace& workspace = DesktopWorkspace::shared();
        workspace.setBundleLocator(moduleBundleLocator(paths.modulesDir()));
        auto* modules = new AppModules(paths, workspace);
        // Queued first on the store's worker, so it runs before any listing.
        modules->store.recoverInterruptedWork();
        return modules;
    }();
    return *instance;
}

AppModules::AppModules(ModulePaths modulePaths, Workspace& workspace,
                       QStringList acceptedLeafHashes)
    : paths(std::move(modulePaths)), state(paths), verifier(std::move(acceptedLeafHashes)),
      store({.state = state, .verifier = verifier, .workspace = workspace}),
      runner(paths, state, verifier, workspace), settings(paths) {}

QUrl AppModules::apiBase() {
    return ServiceEndpoints::resolveApiBase(
        UserDefaults::standard().string(QStringLiteral("apiBaseURL")),
        ServiceEndpoints::builtInBase());
}

} // namespace ovrel
