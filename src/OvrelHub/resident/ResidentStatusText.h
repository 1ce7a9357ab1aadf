#pragma once

#include "OvrelHub/resident/CrashLoopDetector.h"
#include "OvrelModuleKit/manifest/ModuleMode.h"

#include <QString>
#include <optional>

namespace ovrel {

// The one line shown for a module's background running.
namespace ResidentStatusText {

// Nothing for a module that is not resident. keptByHub: the agent runs under
// the hub's own fallback (no systemd user manager), so only while the hub runs.
std::optional<QString> text(ModuleMode mode, bool residentEnabled, bool isRegistered,
                            const ResidentHealth& health, bool keptByHub = false);

} // namespace ResidentStatusText

} // namespace ovrel
