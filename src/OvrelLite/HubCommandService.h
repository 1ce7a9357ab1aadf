#pragma once

#include "OvrelLite/commandline/HubCommandContext.h"

namespace ovrel {

class AppModules;
class LiteAppDelegate;
class SessionBusApplication;
class Workspace;

// The running hub's side of the command line: commands that later starts of
// the program hand over arrive here and run with the hub's own services, so
// the menu follows at once. Answers are sent when a command finishes; the main
// thread is never held up. Lives on the main thread as long as the hub.
class HubCommandService {
public:
    HubCommandService(SessionBusApplication& bus, AppModules& modules, Workspace& workspace,
                      LiteAppDelegate& delegate);
    HubCommandService(const HubCommandService&) = delete;
    HubCommandService& operator=(const HubCommandService&) = delete;

private:
    HubCommandContext m_context;
};

} // namespace ovrel
