#pragma once

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/resident/ResidentModuleService.h"
#include "OvrelHub/resident/ResidentStatusCheck.h"
#include "OvrelHub/resident/ResidentSwitch.h"
#include "OvrelHub/runner/ModuleRunner.h"
#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "OvrelHub/store/ModuleCatalogClient.h"
#include "OvrelHub/store/ModuleDownloader.h"
#include "OvrelHub/store/ModuleStore.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "Platform/process/Workspace.h"

#include "OvrelHub/shell/ServiceRequest.h"
#include <QUrl>
#include <memory>

namespace ovrel {

class SessionStore;

// The one object through which the hub reaches its module services. Every
// service is built once, by the constructor, over the same paths and state
// store; further services (the runner, the catalog client, the resident
// service) join as fields beside these.
class AppModules {
public:
    // Built on first use over the default paths, the desktop workspace
    // (which learns where module bundles live) and the signed-in session
    // (SessionStore::shared()); lives until the process ends.
    static AppModules& shared();

    // Without a resident control no background agent is ever touched.
    // `bearer` gives the signed-in session's token to the catalog and the
    // downloader; none: requests go without one. Build on the main thread.
    AppModules(ModulePaths paths, Workspace& workspace,
               QStringList acceptedLeafHashes = ModuleSignatureVerifier::acceptedLeafHashes(),
               std::unique_ptr<ResidentAgentControlling> residentControl = nullptr,
               BearerSource bearer = {}, QUrl serviceBase = apiBase());
    AppModules(const AppModules&) = delete;
    AppModules& operator=(const AppModules&) = delete;

    // The service base URL for URL-joined requests (catalog, archives):
    // the "apiBaseURL" user default when it is a URL with a scheme and a host,
    // else the built-in base. Read anew on every call.
    static QUrl apiBase();

    // The signed-in session's token as the catalog and the downloader ask
    // for it; `sessions` must outlive the source.
    static BearerSource sessionBearer(const SessionStore& sessions);

    const ModulePaths paths;
    ModuleStateStore state;
    const ModuleSignatureVerifier verifier;
    const std::unique_ptr<ResidentAgentControlling> residentControl;
    const std::unique_ptr<ResidentModuleService> resident;     // null without a control
    const std::unique_ptr<ResidentStatusCheck> residentStatus; // null without a control
    const std::unique_ptr<ResidentSwitch> residentSwitch;      // null without a control
    ServiceNetwork network;
    ModuleDownloader downloader;
    ModuleStore store;
    ModuleRunner runner;
    const ModuleSettingsStore settings;
    // Captures the service base once: a changed override counts from the next start.
    const ModuleCatalogClient catalog;
};

} // namespace ovrel
