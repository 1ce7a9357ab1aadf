#pragma once

#include "OvrelHub/modules/InstalledPair.h"
#include "OvrelHub/modules/ModuleStateStore.h"

#include <QList>
#include <optional>

namespace ovrel {

// Which modules are installed and what their manifests say. The authority is
// the "installed" map of the state file, not the Modules/ listing: a bundle no
// entry names is ignored, and an entry whose bundle is gone is dropped by
// reconcileInstalled(). Nothing here throws; what cannot be read is logged and
// left out.
//
// The state file is hostile input: an entry whose key is no valid module id,
// or whose appName is not one plain "*.app" component, never becomes a path.
class InstalledModules {
public:
    explicit InstalledModules(ModuleStateStore& state) : m_state(state) {}

    // The manifest of one installed module; none when it is not installed or
    // its manifest cannot be read or is invalid.
    std::optional<ModuleManifest> manifest(const QString& id) const;

    // Every installed module whose manifest loads, sorted by module id. The
    // state is read once, so the list is one snapshot of the file.
    QList<InstalledPair> installedManifests() const;

    // Drops the entries whose bundle directory no longer exists (and those
    // that could never name one); settings files stay.
    void reconcileInstalled() const;

private:
    std::optional<ModuleManifest> manifest(const QString& id, const InstalledModule& entry) const;
    static bool namesUsablePath(const QString& id, const InstalledModule& entry);

    ModuleStateStore& m_state;
};

} // namespace ovrel
