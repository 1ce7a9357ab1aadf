#pragma once

#include "OvrelHub/shell/PendingResults.h"
#include "OvrelLite/commandline/HubCommandContext.h"

#include <QObject>

namespace ovrel {

class AppModules;
class LiteAppDelegate;
class SessionBusApplication;
class Workspace;

// The running hub's side of the command line: commands that later starts of
// the program hand over arrive here and run with the hub's own services, so
// the menu follows at once. Answers are sent when a command finishes; the main
// thread is never held up. A command's progress goes back to its caller as it
// asked. When the application quits, results still awaited from the store are
// waited for and no longer answered. Lives on the main thread as long as the hub.
class HubCommandService {
public:
    HubCommandService(SessionBusApplication& bus, AppModules& modules, Workspace& workspace,
                      LiteAppDelegate& delegate);
    HubCommandService(const HubCommandService&) = delete;
    HubCommandService& operator=(const HubCommandService&) = delete;

private:
    QObject m_resultsOwner;
    PendingResults m_results{&m_resultsOwner};
    HubCommandContext m_context;
};

} // namespace ovrel
