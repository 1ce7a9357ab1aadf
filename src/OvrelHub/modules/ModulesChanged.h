#pragma once

namespace ovrel {

// Posted in-process after installs, uninstalls, updates and changes of a
// module's resident, quick-access or shortcut state; the hub refreshes its menu.
inline constexpr const char* kModulesChanged = "vn.ovrel.modulesChanged";

} // namespace ovrel
