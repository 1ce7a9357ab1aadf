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
                       QStringList acceptedLeafHashes, BearerSource bearer, QUrl serviceBase)
    : paths(std::move(modulePaths)), state(paths), verifier(std::move(acceptedLeafHashes)),
      downloader(network, bearer, paths.stagingDir()), store({.state = state,
                                                              .verifier = verifier,
                                                              .workspace = workspace,
                                                              .downloader = &downloader}),
      runner(paths, state, verifier, workspace), settings(paths),
      catalog(std::move(serviceBase), std::move(bearer), network) {}

QUrl AppModules::apiBase() {
    return ServiceEndpoints::resolveApiBase(
        UserDefaults::standard().string(QStringLiteral("apiBaseURL")),
        ServiceEndpoints::builtInBase());
}

} // namespace ovrel
