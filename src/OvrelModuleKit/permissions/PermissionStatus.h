#pragma once

#include <QString>
#include <array>
#include <optional>

namespace ovrel {

// What a module found when it tested one of its permissions.
enum class PermissionStatus { granted, denied, undetermined };

inline constexpr std::array<PermissionStatus, 3> allPermissionStatuses{
    PermissionStatus::granted, PermissionStatus::denied, PermissionStatus::undetermined};

// "granted", "denied", "undetermined".
QString rawValue(PermissionStatus status);
std::optional<PermissionStatus> permissionStatusFromRawValue(const QString& raw);

} // namespace ovrel
