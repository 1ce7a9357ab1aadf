#include "OvrelHub/modules/AppModules.h"

#include "OvrelHub/account/SessionStore.h"
#include "OvrelHub/resident/DeferredResidentControl.h"
#include "OvrelHub/resident/ResidentAgentPlan.h"
#include "OvrelHub/resident/ResidentControlChoice.h"
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
        static AppModules* modules = nullptr;
        // Each start the hub's own fallback makes is checked for a crash loop.
        auto control = std::make_unique<DeferredResidentControl>([&workspace] {
            return ResidentControlChoice::forThisDesktop(workspace, [](const QString& label) {
                if (modules && modules->residentStatus)
                    modules->residentStatus->status(
                        label.mid(int(qstrlen(ResidentAgentPlan::kLabelPrefix))),
                        ModuleMode::resident);
            });
        });
        modules = new AppModules(paths, workspace, ModuleSignatureVerifier::acceptedLeafHashes(),
                                 std::move(control), sessionBearer(SessionStore::shared()));
        // Queued first on the store's worker, so it runs before any listing.
        modules->store.recoverInterruptedWork();
        return modules;
    }();
    return *instance;
}

AppModules::AppModules(ModulePaths modulePaths, Workspace& workspace,
                       QStringList acceptedLeafHashes,
                       std::unique_ptr<ResidentAgentControlling> control, BearerSource bearer,
                       QUrl serviceBase)
    : paths(std::move(modulePaths)), state(paths), verifier(std::move(acceptedLeafHashes)),
      residentControl(std::move(control)),
      resident(residentControl
                   ? std::make_unique<ResidentModuleService>(
                         paths, ResidentModuleService::defaultAgentsDir(), *residentControl)
                   : nullptr),
      residentStatus(resident ? std::make_unique<ResidentStatusCheck>(state, *resident) : nullptr),
      residentSwitch(resident ? std::make_unique<ResidentSwitch>(state, *resident) : nullptr),
      downloader(network, bearer, paths.stagingDir()), store({.state = state,
                                                              .verifier = verifier,
                                                              .workspace = workspace,
                                                              .resident = resident.get(),
                                                              .downloader = &downloader}),
      runner(paths, state, verifier, workspace), settings(paths),
      catalog(std::move(serviceBase), std::move(bearer), network) {}

BearerSource AppModules::sessionBearer(const SessionStore& sessions) {
    // Read at each request: a sign-in or sign-out counts from the next one.
    return [&sessions] { return sessions.token(); };
}

QUrl AppModules::apiBase() {
    return ServiceEndpoints::resolveApiBase(
        UserDefaults::standard().string(QStringLiteral("apiBaseURL")),
        ServiceEndpoints::builtInBase());
}

} // namespace ovrel
