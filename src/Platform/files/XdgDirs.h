#pragma once

#include <QString>

namespace ovrel {

// The per-user XDG base directories, read from the
// environment on every call so tests can point them at throw-away folders.
namespace XdgDirs {
QString configHome(); // $XDG_CONFIG_HOME or ~/.config
QString dataHome();   // $XDG_DATA_HOME or ~/.local/share
QString stateHome();  // $XDG_STATE_HOME or ~/.local/state
QString home();
} // namespace XdgDirs

} // namespace ovrel
