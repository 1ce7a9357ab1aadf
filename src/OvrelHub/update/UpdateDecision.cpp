#include "OvrelHub/update/UpdateDecision.h"

#include "OvrelConfig/VersionComparator.h"

namespace ovrel {

bool UpdateDecision::shouldNotify(const QString& latestVersion,
                                  const std::optional<QString>& lastNotified,
                                  const QString& current) {
    return VersionComparator::isNewer(latestVersion, current) &&
           (!lastNotified || *lastNotified != latestVersion);
}

} // namespace ovrel
