#pragma once

#include "OvrelConfig/SessionLostReason.h"
#include "OvrelModuleKit/secrets/SecretLoad.h"

#include <optional>

namespace ovrel {

// Tells a lost session from a user who never signed in: only a user marked
// signed in ("isLoggedIn") whose session secret is gone or unreadable lost it.
namespace SessionLoss {

std::optional<SessionLostReason> reason(bool isLoggedInFlag, SecretLoad::Kind state);

} // namespace SessionLoss

} // namespace ovrel
