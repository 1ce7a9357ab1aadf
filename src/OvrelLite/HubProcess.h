#pragma once

#include "OvrelLite/commandline/HubCommandLine.h"

namespace ovrel {

// A start of the hub itself. When a hub already runs in the session, the
// URLs are handed to it (or it is asked to come forward) and this process
// ends; otherwise this process becomes the one hub, takes the URLs it was
// started with and the command lines later starts hand over, and runs until
// it quits. Returns the exit status.
int runHubProcess(int& argc, char** argv, const HubCommandLine::Parsed& parsed);

} // namespace ovrel
