#pragma once

namespace ovrel {

class StandardModuleLaunch;

// Runs a module process around its launch object, the way the hub expects a
// module to live on a Linux desktop:
//  - it answers for the module on the session bus (ModuleApplicationService):
//    Activate brings it forward through handleReopen(); when another process
//    of the same module already owns the name, that one is asked to come
//    forward and this one ends at once with status 0;
//  - it records the start in the module's start-up log;
//  - it runs the launch sequence and then the event loop, which closing the
//    last window does not end; SIGTERM or SIGINT ends it normally (status 0).
namespace ModuleApplication {

// Needs the QApplication; returns the exit status of the process.
int exec(StandardModuleLaunch& launch);

} // namespace ModuleApplication

} // namespace ovrel
