#include "OvrelConfig/ModulePlan.h"

#include "OvrelConfig/VersionComparator.h"

namespace ovrel {

ModuleAction ModulePlan::decide(const CatalogEntry& entry,
                                const std::optional<QString>& installedVersion,
                                const QString& hostVersion, const QString& systemVersion) {
    if (!entry.latest) {
        if (entry.incompatible)
            return ModuleAction::incompatible(entry.incompatible->minHostVersion);
        return ModuleAction::notAvailable();
    }
    const CatalogRelease& latest = *entry.latest;
    if (VersionComparator::isNewer(latest.minHostVersion, hostVersion))
        return ModuleAction::incompatible(latest.minHostVersion);
    if (latest.minMacOS && VersionComparator::isNewer(*latest.minMacOS, systemVersion))
        return ModuleAction::incompatibleOS(*latest.minMacOS);
    if (installedVersion) {
        if (VersionComparator::isNewer(latest.version, *installedVersion))
            return ModuleAction::update(*installedVersion, latest.version);
        return ModuleAction::upToDate();
    }
    return ModuleAction::install();
}

} // namespace ovrel
