#include "SyncRoutes.h"

#include "DevAccounts.h"
#include "HttpAnswers.h"

#include <QHttpServer>
#include <QJsonDocument>
#include <QRegularExpression>
#include <functional>

namespace ovrel::devservice {

namespace {

using Status = QHttpServerResponder::StatusCode;
using Method = QHttpServerRequest::Method;

bool isStreamKey(const QString& key) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9._-]{1,64}$"));
    return pattern.match(key).hasMatch();
}

QJsonObject streamJson(const DevAccounts::Stream& stream) {
    QJsonObject body{{QStringLiteral("version"), stream.version}};
    if (stream.version != 0)
        body.insert(QStringLiteral("data"), stream.data);
    return body;
}

using StreamHandler = std::function<QHttpServerResponse(const QString& email, const QString& key,
                                                        const QHttpServerRequest& request)>;

// Checks the token and the stream key before handing on; refuses otherwise.
void routeStream(QHttpServer& server, DevAccounts& accounts, Method method, StreamHandler handler) {
    server.route(
        QStringLiteral("/api/sync/<arg>"), method,
        [&accounts, handler](const QString& key, const QHttpServerRequest& request) {
            const auto email = accounts.authorize(request);
            if (!email)
                return HttpAnswers::error(Status::Unauthorized, QStringLiteral("unauthorized"));
            if (!isStreamKey(key))
                return HttpAnswers::error(Status::BadRequest, QStringLiteral("bad_stream"));
            return handler(*email, key, request);
        });
}

} // namespace

void installSyncRoutes(QHttpServer& server, DevAccounts& accounts) {
    routeStream(server, accounts, Method::Get,
                [&accounts](const QString& email, const QString& key, const QHttpServerRequest&) {
                    return HttpAnswers::json(streamJson(accounts.stream(email, key)));
                });

    routeStream(
        server, accounts, Method::Put,
        [&accounts](const QString& email, const QString& key, const QHttpServerRequest& request) {
            if (request.body().size() > HttpAnswers::kMaxRequestBody)
                return HttpAnswers::error(Status::PayloadTooLarge, QStringLiteral("too_large"));
            const QJsonObject body = QJsonDocument::fromJson(request.body()).object();
            const QJsonValue base = body.value(QStringLiteral("baseVersion"));
            if (!body.contains(QStringLiteral("data")) || !base.isDouble())
                return HttpAnswers::error(Status::BadRequest, QStringLiteral("bad_request"));
            const DevAccounts::Stream current = accounts.stream(email, key);
            if (base.toInteger(-1) != current.version)
                return HttpAnswers::json(QJsonObject{{QStringLiteral("version"), current.version},
                                                     {QStringLiteral("data"), current.data}},
                                         Status::Conflict);
            const qint64 version = current.version + 1;
            accounts.setStream(email, key, {version, body.value(QStringLiteral("data"))});
            return HttpAnswers::json(QJsonObject{{QStringLiteral("version"), version}});
        });

    routeStream(server, accounts, Method::Delete,
                [&accounts](const QString& email, const QString& key, const QHttpServerRequest&) {
                    accounts.deleteStream(email, key);
                    return HttpAnswers::json(QJsonObject{});
                });
}

} // namespace ovrel::devservice
