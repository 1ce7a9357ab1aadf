#pragma once

#include <QString>
#include <optional>

namespace ovrel {

// Whether a release deserves a notification: it is newer than the running
// version and is not the version announced last.
namespace UpdateDecision {

bool shouldNotify(const QString& latestVersion, const std::optional<QString>& lastNotified,
                  const QString& current);

} // namespace UpdateDecision

} // namespace ovrel
