#include "OvrelHub/account/SessionLoss.h"

namespace ovrel::SessionLoss {

std::optional<SessionLostReason> reason(bool isLoggedInFlag, SecretLoad::Kind state) {
    if (!isLoggedInFlag)
        return std::nullopt;
    switch (state) {
    case SecretLoad::Kind::ok:
        return std::nullopt;
    case SecretLoad::Kind::missing:
        return SessionLostReason::upgraded;
    case SecretLoad::Kind::unreadable:
        return SessionLostReason::machineChanged;
    }
    return std::nullopt;
}

} // namespace ovrel::SessionLoss
