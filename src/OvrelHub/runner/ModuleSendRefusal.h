#pragma once

#include "OvrelHub/runner/ModuleLaunchBlock.h"

#include <QString>
#include <optional>

namespace ovrel {

// Why the runner did not hand a command to a module. The runner itself only
// logs these (and shows the launch-block alert); callers that answer someone,
// such as the command line, tell them.
struct ModuleSendRefusal {
    enum class Kind {
        notInstalled,    // no state entry, or an id or bundle name that is no plain name
        launchBlocked,   // the manifest asks for another system
        signatureFailed, // the installed bundle's signature does not hold
        inboxNotWritten, // the command could not be left for the module
    };

    Kind kind;
    std::optional<ModuleLaunchBlock> block; // for launchBlocked
    QString logLine;                        // the line the runner logged; empty for notInstalled
};

} // namespace ovrel
