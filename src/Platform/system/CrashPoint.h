#pragma once

namespace ovrel::CrashPoint {

// Ends the process at once with SIGKILL when the environment variable
// OVREL_CRASH_AT names this point: the fault-injection tests stop multi-step
// file changes (installs, updates, uninstalls) at every step this way and
// check what start-up makes of the result. Costs one comparison otherwise.
void reach(const char* name);

} // namespace ovrel::CrashPoint
