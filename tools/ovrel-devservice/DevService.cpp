#include "DevService.h"

#include "AuthRoutes.h"
#include "CatalogRoutes.h"
#include "SyncRoutes.h"

#include "VersionAndPageRoutes.h"

#include <QHostAddress>

namespace ovrel::devservice {

namespace {

QUrl loopbackUrl(quint16 port) {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port));
}

} // namespace

DevService::DevService(DevServiceOptions options)
    : options_(std::move(options)), accounts_(options_.dataFile, options_.tokenLifetime),
      catalog_(options_.catalogDir), storage_(options_, catalog_) {
    installRoutes();
}

bool DevService::start(QString* error) {
    apiPort_ = api_.listen(QHostAddress::LocalHost, options_.apiPort);
    if (apiPort_ == 0) {
        *error = QStringLiteral("cannot listen on port %1").arg(options_.apiPort);
        return false;
    }
    storagePort_ = storage_.listen(QHostAddress::LocalHost, options_.storagePort);
    if (storagePort_ == 0) {
        *error = QStringLiteral("cannot listen on port %1").arg(options_.storagePort);
        return false;
    }
    return true;
}

QUrl DevService::apiBase() const {
    return loopbackUrl(apiPort_);
}

QUrl DevService::storageBase() const {
    return loopbackUrl(storagePort_);
}

void DevService::installRoutes() {
    // One line per route family.
    installAuthRoutes(api_, accounts_);
    installSyncRoutes(api_, accounts_);
    CatalogRoutes::install(
        api_, options_, catalog_, accounts_, [this] { return apiBase(); },
        [this] { return storageBase(); });

    VersionAndPageRoutes::install(api_, options_.versionFeed,
                                  [this] { return apiBase().toString(); });
}

} // namespace ovrel::devservice
