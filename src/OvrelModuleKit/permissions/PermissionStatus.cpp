#include "OvrelModuleKit/permissions/PermissionStatus.h"

namespace ovrel {

QString rawValue(PermissionStatus status) {
    switch (status) {
    case PermissionStatus::granted:
        return QStringLiteral("granted");
    case PermissionStatus::denied:
        return QStringLiteral("denied");
    case PermissionStatus::undetermined:
        return QStringLiteral("undetermined");
    }
    return {};
}

std::optional<PermissionStatus> permissionStatusFromRawValue(const QString& raw) {
    for (const PermissionStatus status : allPermissionStatuses) {
        if (rawValue(status) == raw)
            return status;
    }
    return std::nullopt;
}

} // namespace ovrel
