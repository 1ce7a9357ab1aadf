#pragma once

namespace ovrel {

// Ends the module's event loop normally when the process is asked to stop
// (SIGTERM from the hub or the service manager, SIGINT from a terminal), so
// the program leaves through the usual path and exits with status 0.
namespace ModuleTerminationSignal {

// Installs the handlers once per process; later calls do nothing. Needs the
// application object. False when the signals could not be routed.
bool install();

} // namespace ModuleTerminationSignal

} // namespace ovrel
