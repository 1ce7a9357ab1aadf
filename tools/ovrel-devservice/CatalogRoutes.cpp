#include "CatalogRoutes.h"

#include "ArchiveLog.h"
#include "StorageServer.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QUrlQuery>
#include <optional>

namespace ovrel::devservice::CatalogRoutes {

namespace {

using StatusCode = QHttpServerResponder::StatusCode;

// The answer a configured fault gives instead of the real one.
std::optional<QHttpServerResponse> fault(const DevServiceOptions& options, DevAccounts& accounts,
                                         const QHttpServerRequest& request) {
    if (options.failStatus > 0)
        return QHttpServerResponse(static_cast<StatusCode>(options.failStatus));
    const bool refused =
        (!options.requiredToken.isEmpty() &&
         request.value("Authorization") != "Bearer " + options.requiredToken.toUtf8()) ||
        (options.catalogNeedsSignIn && !accounts.authorize(request));
    if (refused) {
        QHttpServerResponse refused(StatusCode::Unauthorized);
        refused.addHeader("WWW-Authenticate", "Bearer");
        return refused;
    }
    return std::nullopt;
}

QHttpServerResponse redirect(const QUrl& target) {
    QHttpServerResponse response(StatusCode::Found);
    response.addHeader("Location", target.toEncoded());
    return response;
}

} // namespace

void install(QHttpServer& api, const DevServiceOptions& options, ModuleCatalogSource& catalog,
             DevAccounts& accounts, std::function<QUrl()> apiBase,
             std::function<QUrl()> storageBase) {
    api.route("/api/modules", [&options, &catalog, &accounts](const QHttpServerRequest& request) {
        if (auto failed = fault(options, accounts, request))
            return std::move(*failed);
        const QString host = request.query().queryItemValue(QStringLiteral("host"));
        QByteArray json = catalog.catalogJson(host);
        // Whitespace after the array keeps it a catalog of the size asked for.
        if (options.catalogBytes > json.size())
            json.append(QByteArray(options.catalogBytes - json.size(), ' '));
        return QHttpServerResponse("application/json", json);
    });
    api.route("/api/modules/<arg>/download",
              [&options, &catalog, &accounts, apiBase,
               storageBase](const QString& id, const QHttpServerRequest& request) {
                  if (auto failed = fault(options, accounts, request))
                      return std::move(*failed);
                  if (catalog.archivePath(id).isEmpty())
                      return QHttpServerResponse(StatusCode::NotFound);
                  // A chain of hops on this server before the last one.
                  const int hop = request.query().queryItemValue(QStringLiteral("hop")).toInt();
                  if (hop + 1 < options.downloadRedirects) {
                      QUrl next = request.url();
                      QUrlQuery query(next);
                      query.removeAllQueryItems(QStringLiteral("hop"));
                      query.addQueryItem(QStringLiteral("hop"), QString::number(hop + 1));
                      next.setQuery(query);
                      return redirect(apiBase().resolved(QUrl(next.path(QUrl::FullyEncoded) +
                                                              QLatin1Char('?') +
                                                              next.query(QUrl::FullyEncoded))));
                  }
                  const QString path = StorageServer::urlPath(id);
                  return redirect(options.sameOriginDownloads
                                      ? apiBase().resolved(QUrl(QStringLiteral("files/") + path))
                                      : storageBase().resolved(QUrl(path)));
              });
    api.route("/files/modules/<arg>", [&catalog](const QString& name,
                                                 const QHttpServerRequest& request) {
        ArchiveLog::served(QStringLiteral("api"), QStringLiteral("GET ") + request.url().path(),
                           !request.value("Authorization").isEmpty());
        QFile archive(name.endsWith(QStringLiteral(".zip")) ? catalog.archivePath(name.chopped(4))
                                                            : QString());
        if (!archive.open(QIODevice::ReadOnly))
            return QHttpServerResponse(StatusCode::NotFound);
        return QHttpServerResponse("application/zip", archive.readAll());
    });
}

} // namespace ovrel::devservice::CatalogRoutes
