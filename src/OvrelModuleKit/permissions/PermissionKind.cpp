#include "OvrelModuleKit/permissions/PermissionKind.h"

namespace ovrel {

QString rawValue(PermissionKind kind) {
    switch (kind) {
    case PermissionKind::screenRecording:
        return QStringLiteral("screenRecording");
    case PermissionKind::accessibility:
        return QStringLiteral("accessibility");
    case PermissionKind::inputMonitoring:
        return QStringLiteral("inputMonitoring");
    case PermissionKind::fullDiskAccess:
        return QStringLiteral("fullDiskAccess");
    }
    return {};
}

std::optional<PermissionKind> permissionKindFromRawValue(const QString& raw) {
    for (const PermissionKind kind : allPermissionKinds) {
        if (rawValue(kind) == raw)
            return kind;
    }
    return std::nullopt;
}

} // namespace ovrel
