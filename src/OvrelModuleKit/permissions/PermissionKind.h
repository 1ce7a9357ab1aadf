#pragma once

#include <QString>
#include <array>
#include <optional>

namespace ovrel {

// System privacy permissions that only a module's own process can hold and test.
enum class PermissionKind { screenRecording, accessibility, inputMonitoring, fullDiskAccess };

inline constexpr std::array<PermissionKind, 4> allPermissionKinds{
    PermissionKind::screenRecording, PermissionKind::accessibility, PermissionKind::inputMonitoring,
    PermissionKind::fullDiskAccess};

// "screenRecording", "accessibility", "inputMonitoring", "fullDiskAccess".
QString rawValue(PermissionKind kind);
std::optional<PermissionKind> permissionKindFromRawValue(const QString& raw);

} // namespace ovrel
