#pragma once

#include "OvrelModuleKit/paths/ModulePaths.h"
#include "OvrelModuleKit/permissions/PermissionKind.h"
#include "OvrelModuleKit/permissions/PermissionStatus.h"

#include <QString>
#include <chrono>
#include <map>
#include <optional>
#include <vector>

namespace ovrel {

// A module's report of its own permissions, "permissions.json" in its
// directory: {"statuses":{"accessibility":"granted"},"version":1,"writtenAt":1.7e9}.
// The module writes it when asked; the hub polls writtenAt and reads it.
namespace PermissionStatusFile {

using Statuses = std::map<PermissionKind, PermissionStatus>;
using TimePoint = std::chrono::system_clock::time_point;

inline constexpr int currentVersion = 1;
inline constexpr qint64 kMaxFileBytes = 1 << 20;

// Throws FileError (also for an id that is not a valid module id).
void write(const Statuses& statuses, const ModulePaths& paths, const QString& id, TimePoint at);

// Exactly one entry per declared kind; whatever the file cannot vouch for
// (no file, wrong version, unknown status) is undetermined. Never fails.
Statuses read(const ModulePaths& paths, const QString& id,
              const std::vector<PermissionKind>& declared);

// When the file was written, if it is a readable file of the current version.
std::optional<TimePoint> writtenAt(const ModulePaths& paths, const QString& id);

} // namespace PermissionStatusFile

} // namespace ovrel
