#pragma once

namespace ovrel {

// Posted in-process (no payload) after installs, uninstalls, updates and
// changes of a module's resident, quick-access or shortcut setting; the menu
// and the settings window reload their module lists on it.
inline constexpr char ovrelModulesChanged[] = "vn.ovrel.modulesChanged";

// Posts ovrelModulesChanged on the default notification center.
void postModulesChanged();

} // namespace ovrel
