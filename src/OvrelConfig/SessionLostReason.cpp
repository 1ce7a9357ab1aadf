#include "OvrelConfig/SessionLostReason.h"

namespace ovrel::SessionLostReasons {

QString rawValue(SessionLostReason reason) {
    switch (reason) {
    case SessionLostReason::upgraded:
        return QStringLiteral("upgraded");
    case SessionLostReason::machineChanged:
        return QStringLiteral("machineChanged");
    case SessionLostReason::revoked:
        return QStringLiteral("revoked");
    }
    return {};
}

std::optional<SessionLostReason> fromRawValue(const QString& raw) {
    for (const SessionLostReason reason :
         {SessionLostReason::upgraded, SessionLostReason::machineChanged,
          SessionLostReason::revoked}) {
        if (raw == rawValue(reason))
            return reason;
    }
    return std::nullopt;
}

LocKey textKey(SessionLostReason reason) {
    switch (reason) {
    case SessionLostReason::upgraded:
        return LocKey::sessionLostUpgraded;
    case SessionLostReason::machineChanged:
        return LocKey::sessionLostMachineChanged;
    case SessionLostReason::revoked:
        return LocKey::sessionLostRevoked;
    }
    return LocKey::sessionLostRevoked;
}

} // namespace ovrel::SessionLostReasons
