#pragma once

#include "OvrelHub/resident/ResidentAgentControlling.h"

#include <functional>
#include <memory>

namespace ovrel {

class Workspace;

// Which mechanism keeps resident modules running on this desktop: systemd
// user units when a user manager answers and reads units from this hub's
// configuration folder, else the hub itself (said once in the log).
namespace ResidentControlChoice {

// started: called after each start the hub's own fallback makes.
std::unique_ptr<ResidentAgentControlling>
forThisDesktop(Workspace& workspace, std::function<void(const QString& label)> started = {});

} // namespace ResidentControlChoice

} // namespace ovrel
