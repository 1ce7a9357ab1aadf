#pragma once

#include <QLatin1String>

namespace ovrel {

// Command names every module understands. Other names are the commands of the
// module's own menu entries and dynamic menu.
namespace ModuleCommand {

// Show the main window; also what a module runs for itself when it is reopened.
inline constexpr QLatin1String open{"open"};
// Re-check permissions and rewrite the permission status file.
inline constexpr QLatin1String checkPermissions{"checkPermissions"};

} // namespace ModuleCommand

} // namespace ovrel
