#pragma once

#include "OvrelConfig/LocKey.h"

#include <QString>
#include <optional>

namespace ovrel {

// Why a user who was signed in must sign in again. The raw values are stored
// under "sessionLostReason" and survive restarts.
enum class SessionLostReason {
    upgraded,       // the session secret is gone (an update changed how it is stored)
    machineChanged, // the session secret cannot be opened on this machine
    revoked,        // the service no longer accepts the token
};

namespace SessionLostReasons {

QString rawValue(SessionLostReason reason);
// Nothing for any other text.
std::optional<SessionLostReason> fromRawValue(const QString& raw);
// The text explaining the reason to the user.
LocKey textKey(SessionLostReason reason);

} // namespace SessionLostReasons

} // namespace ovrel
