#include "AuthRoutes.h"

#include "DevAccounts.h"
#include "HttpAnswers.h"

#include <QHttpServer>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QUrlQuery>

namespace ovrel::devservice {

namespace {

using Status = QHttpServerResponder::StatusCode;
using Method = QHttpServerRequest::Method;

const QString kCallback = QStringLiteral("ovrel-lite://auth");

bool isProvider(const QString& provider) {
    return provider == QLatin1String("google") || provider == QLatin1String("discord");
}

// The hub's state values are base64url; anything else is not passed on.
bool isState(const QString& state) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_-]{1,256}$"));
    return pattern.match(state).hasMatch();
}

QString callbackUrl(const QList<QPair<QString, QString>>& items) {
    QUrlQuery query;
    for (const auto& [name, value] : items)
        query.addQueryItem(name, QString::fromLatin1(QUrl::toPercentEncoding(value)));
    return kCallback + QLatin1Char('?') + query.toString(QUrl::FullyEncoded);
}

QHttpServerResponse chooseUserPage(const QString& provider, const QString& state) {
    const QString action = QStringLiteral("/api/auth/") + provider + QStringLiteral("/complete");
    return HttpAnswers::html(
        QStringLiteral("Sign in to Ovrel"),
        QStringLiteral(
            "<h1>Sign in with %1 (local test service)</h1>\n"
            "<form method=\"post\" action=\"%2\">\n"
            "<input type=\"hidden\" name=\"state\" value=\"%3\">\n"
            "<p><label>Email <input name=\"email\" value=\"tester@example.com\"></label></p>\n"
            "<p><label>Name <input name=\"name\" value=\"Test User\"></label></p>\n"
            "<p><button type=\"submit\" name=\"choice\" value=\"allow\">Sign in</button>\n"
            "<button type=\"submit\" name=\"choice\" value=\"deny\">Cancel</button></p>\n"
            "</form>")
            .arg(provider.toHtmlEscaped(), action.toHtmlEscaped(), state.toHtmlEscaped()));
}

QHttpServerResponse backToHub(const QString& location) {
    return HttpAnswers::redirect(
        location,
        QStringLiteral("<p><a href=\"%1\">Return to Ovrel</a></p>").arg(location.toHtmlEscaped()));
}

QJsonObject userJson(const DevAccounts::User& user) {
    return QJsonObject{{QStringLiteral("email"), user.email},
                       {QStringLiteral("name"), user.name},
                       {QStringLiteral("avatar"), QJsonValue::Null}};
}

} // namespace

void installAuthRoutes(QHttpServer& server, DevAccounts& accounts) {
    server.route(
        QStringLiteral("/api/auth/<arg>/start"), Method::Get,
        [](const QString& provider, const QHttpServerRequest& request) {
            const QString state = request.query().queryItemValue(QStringLiteral("state"));
            if (!isProvider(provider))
                return HttpAnswers::error(Status::NotFound, QStringLiteral("unknown_provider"));
            if (!isState(state))
                return HttpAnswers::error(Status::BadRequest, QStringLiteral("missing_state"));
            return chooseUserPage(provider, state);
        });

    server.route(
        QStringLiteral("/api/auth/<arg>/complete"), Method::Post,
        [&accounts](const QString& provider, const QHttpServerRequest& request) {
            if (!isProvider(provider))
                return HttpAnswers::error(Status::NotFound, QStringLiteral("unknown_provider"));
            if (request.body().size() > HttpAnswers::kMaxRequestBody)
                return HttpAnswers::error(Status::PayloadTooLarge, QStringLiteral("too_large"));
            QUrlQuery form(
                QString::fromUtf8(request.body()).replace(QLatin1Char('+'), QLatin1Char(' ')));
            const QString state = form.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded);
            if (!isState(state))
                return HttpAnswers::error(Status::BadRequest, QStringLiteral("missing_state"));
            if (form.queryItemValue(QStringLiteral("choice")) == QLatin1String("deny"))
                return backToHub(
                    callbackUrl({{QStringLiteral("error"), QStringLiteral("access_denied")},
                                 {QStringLiteral("state"), state}}));
            const QString email =
                form.queryItemValue(QStringLiteral("email"), QUrl::FullyDecoded).trimmed();
            if (email.isEmpty() || email.size() > 254)
                return HttpAnswers::error(Status::BadRequest, QStringLiteral("missing_email"));
            const QString name =
                form.queryItemValue(QStringLiteral("name"), QUrl::FullyDecoded).trimmed().left(100);
            const QString code = accounts.issueCode({email, name});
            return backToHub(
                callbackUrl({{QStringLiteral("code"), code}, {QStringLiteral("state"), state}}));
        });

    server.route(
        QStringLiteral("/api/auth/exchange"), Method::Post,
        [&accounts](const QHttpServerRequest& request) {
            if (request.body().size() > HttpAnswers::kMaxRequestBody)
                return HttpAnswers::error(Status::PayloadTooLarge, QStringLiteral("too_large"));
            const QJsonValue code =
                QJsonDocument::fromJson(request.body()).object().value(QStringLiteral("code"));
            const auto exchanged =
                code.isString() ? accounts.exchange(code.toString()) : std::nullopt;
            if (!exchanged)
                return HttpAnswers::error(Status::BadRequest, QStringLiteral("invalid_code"));
            return HttpAnswers::json(
                QJsonObject{{QStringLiteral("token"), exchanged->first},
                            {QStringLiteral("user"), userJson(exchanged->second)}});
        });

    server.route(QStringLiteral("/api/auth/me"), Method::Get,
                 [&accounts](const QHttpServerRequest& request) {
                     const auto email = accounts.authorize(request);
                     const auto user = email ? accounts.user(*email) : std::nullopt;
                     if (!user)
                         return HttpAnswers::error(Status::Unauthorized,
                                                   QStringLiteral("unauthorized"));
                     return HttpAnswers::json(userJson(*user));
                 });

    server.route(QStringLiteral("/api/auth/logout"), Method::Post,
                 [&accounts](const QHttpServerRequest& request) {
                     if (!accounts.authorize(request))
                         return HttpAnswers::error(Status::Unauthorized,
                                                   QStringLiteral("unauthorized"));
                     accounts.revoke(DevAccounts::bearerToken(request));
                     return HttpAnswers::json(QJsonObject{});
                 });

    server.route(QStringLiteral("/api/account"), Method::Delete,
                 [&accounts](const QHttpServerRequest& request) {
                     const auto email = accounts.authorize(request);
                     if (!email)
                         return HttpAnswers::error(Status::Unauthorized,
                                                   QStringLiteral("unauthorized"));
                     accounts.deleteAccount(*email);
                     return HttpAnswers::json(QJsonObject{});
                 });
}

} // namespace ovrel::devservice
