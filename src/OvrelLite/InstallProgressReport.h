#pragma once

#include "Platform/desktop/CommandLineProgress.h"

namespace ovrel {

class InstallProgress;

// An install's progress as the command line tells it: the download as a
// measured report about "ID VERSION", then one step text for each step after
// it (checking the archive, unpacking, installing). Reports while `progress`
// lives; main thread.
void reportInstallProgress(InstallProgress& progress, const QString& what,
                           CommandLineProgressSink sink);

} // namespace ovrel
