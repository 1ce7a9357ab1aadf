#pragma once

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/modules/ResidentRegistering.h"
#include "OvrelHub/signature/ModuleVerifying.h"
#include "OvrelHub/store/BundleMover.h"
#include "OvrelHub/store/BundleSwap.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QString>
#include <functional>
#include <optional>

namespace ovrel {

// The running system's version as dotted numbers.
using SystemVersionSource = std::function<QString()>;

// The last step of every install, once a bundle sits in a staging directory:
// check it, swap it into Modules/<id>/, record it in the modules state and
// start its background agent. Synchronous; the module store runs it on its
// worker thread, one install at a time.
class InstallCompletion {
public:
    struct Collaborators {
        ModuleStateStore& state;
        const ModuleVerifying& verifier;
        ResidentRegistering* resident = nullptr; // none: no agent is touched
        BundleMoving moveBundle = BundleMover::standard();
        SystemVersionSource systemVersion = defaultSystemVersion();
        BundleSwap::Replaced replaced = BundleSwap::Replaced::remove;
    };

    explicit InstallCompletion(Collaborators collaborators);

    // Installs the staged bundle as module `id`. `version` is the catalog
    // release's; without one the manifest's is recorded. The bundle is moved
    // away on success. Throws InstallError; every failure before the swap
    // leaves the installed version and its state entry as they were.
    ModuleManifest complete(const QString& id, const QString& bundle,
                            const std::optional<QString>& version) const;

    static SystemVersionSource defaultSystemVersion();

private:
    ModuleManifest checkedManifest(const QString& id, const QString& bundle) const;
    void record(const PendingInstall& pending) const;
    void registerIfResident(const QString& id, const QString& appName,
                            const ModuleManifest& manifest) const;

    ModuleStateStore& m_state;
    const ModuleVerifying& m_verifier;
    ResidentRegistering* m_resident;
    SystemVersionSource m_systemVersion;
    BundleSwap m_swap;
};

} // namespace ovrel
