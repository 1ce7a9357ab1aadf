#pragma once

#include "OvrelConfig/CatalogEntry.h"
#include "OvrelHub/shell/ServiceRequest.h"

#include <QFuture>
#include <QList>
#include <QUrl>

namespace ovrel {

// Asks the online service which modules it offers for this hub version.
// Holds no mutable state; nothing is cached between fetches. Main thread;
// borrows the network, which must outlive it.
class ModuleCatalogClient {
public:
    ModuleCatalogClient(QUrl baseURL, BearerSource bearer, ServiceNetwork& network);

    // The hub's own version; "0.0.0" when the build carries none.
    static QString hostVersion();

    // base/api/modules?host=<hostVersion>, with the token when signed in.
    // The entries in the order received; fails with CatalogError (401:
    // unauthorized; another non-2xx status: serverError; a body that is no
    // catalog: badResponse) or ServiceTransportError.
    QFuture<QList<CatalogEntry>> fetch(const QString& hostVersion) const;

    // base/api/modules/<id>/download?host=<hostVersion>
    QUrl downloadURL(const QString& id, const QString& hostVersion) const;

    const QUrl& baseURL() const { return m_baseURL; }

    // Catalog answers larger than this are not catalogs.
    static constexpr qint64 kMaxCatalogBytes = qint64(16) << 20;

private:
    QUrl m_baseURL;
    BearerSource m_bearer;
    ServiceNetwork& m_network;
};

} // namespace ovrel
