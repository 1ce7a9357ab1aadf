#pragma once

#include "OvrelLite/commandline/HubCommandContext.h"
#include "Platform/desktop/CommandLineOutcome.h"
#include "Platform/desktop/CommandLineProgress.h"

#include <QFuture>
#include <QString>

namespace ovrel {

// The command line's view of the online catalog, run with the services of
// whichever process runs the command (the hub, or the command line itself
// when no hub runs). Both answer with the texts for standard output and
// standard error and the exit status; neither waits on the main thread.
// Need the context's catalog and results; main thread.
namespace CatalogCommands {

// `--catalog`: one line per entry: id, latest version, the planned action
// (install, update, up to date, incompatible, not available) and its name.
QFuture<CommandLineOutcome> printCatalog(HubCommandContext& context);

// `--install-from-catalog ID`: installs or updates the module to the
// catalog's latest release through the store, reporting the download and
// the steps after it to `progress`, gives a first install its default
// shortcuts and announces the change (context.modulesChanged). Status 0 also
// when the module is already up to date; failures carry the reason the store
// would show and are logged.
QFuture<CommandLineOutcome> installFromCatalog(HubCommandContext& context, const QString& id,
                                               CommandLineProgressSink progress);

} // namespace CatalogCommands

} // namespace ovrel
