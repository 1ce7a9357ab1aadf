#pragma once

#include "DevAccounts.h"
#include "DevServiceOptions.h"
#include "ModuleCatalogSource.h"

#include <QHttpServer>
#include <QUrl>
#include <functional>

namespace ovrel::devservice::CatalogRoutes {

// "api/modules?host=V" answers the catalog; "api/modules/<id>/download"
// redirects to the storage server (or, with sameOriginDownloads, to
// "files/modules/<id>.zip" on the API server itself, which serves it too).
// The test faults (a required token or sign-in, a fixed failure status) apply
// to both.
void install(QHttpServer& api, const DevServiceOptions& options, ModuleCatalogSource& catalog,
             DevAccounts& accounts, std::function<QUrl()> apiBase,
             std::function<QUrl()> storageBase);

} // namespace ovrel::devservice::CatalogRoutes
