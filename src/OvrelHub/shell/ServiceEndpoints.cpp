#include "OvrelHub/shell/ServiceEndpoints.h"

#include "Platform/system/SystemLog.h"

#include <QUrlQuery>

#ifndef OVREL_SERVICE_BASE_URL
#define OVREL_SERVICE_BASE_URL "https://ovrel.vn"
#endif

namespace ovrel {

QString ServiceEndpoints::builtInBase() {
    return QStringLiteral(OVREL_SERVICE_BASE_URL);
}

namespace {
// The session token travels to this base: https, or plain http only to this
// machine (the local service used for development and tests).
bool isAcceptableBase(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    const QString host = url.host().toLower();
    return scheme == QLatin1String("http") &&
           (host == QLatin1String("127.0.0.1") || host == QLatin1String("localhost") ||
            host == QLatin1String("::1"));
}
} // namespace

QUrl ServiceEndpoints::resolveApiBase(const std::optional<QString>& override,
                                      const QString& fallback) {
    if (override) {
        const QUrl url(*override, QUrl::StrictMode);
        if (isAcceptableBase(url))
            return url;
        if (!override->isEmpty())
            SystemLog::write(
                QStringLiteral("Ovrel: apiBaseURL override \"") + *override +
                QStringLiteral("\" không phải URL hợp lệ — dùng lại địa chỉ mặc định"));
    }
    const QUrl url(fallback, QUrl::StrictMode);
    return url.isValid() && !fallback.isEmpty() ? url : QUrl(QStringLiteral("about:blank"));
}

namespace {
// Appends path components the way a file URL gains a component: exactly one "/"
// between the base path and the new part.
QUrl appendingPath(const QUrl& base, const QString& path) {
    QUrl url = base;
    QString basePath = url.path();
    if (!basePath.endsWith(QLatin1Char('/')))
        basePath += QLatin1Char('/');
    url.setPath(basePath + path);
    return url;
}

QUrl withHost(QUrl url, const QString& hostVersion) {
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("host"), hostVersion);
    url.setQuery(query);
    url.setFragment(QString());
    return url;
}
} // namespace

QUrl ServiceEndpoints::catalog(const QUrl& base, const QString& hostVersion) {
    return withHost(appendingPath(base, QStringLiteral("api/modules")), hostVersion);
}

QUrl ServiceEndpoints::moduleDownload(const QUrl& base, const QString& id,
                                      const QString& hostVersion) {
    return withHost(
        appendingPath(base, QStringLiteral("api/modules/") + id + QStringLiteral("/download")),
        hostVersion);
}

std::optional<QUrl> ServiceEndpoints::appended(const QString& base, const QString& path) {
    const QUrl url(base + path, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}

std::optional<QUrl> ServiceEndpoints::authStart(const QString& base, const QString& provider) {
    return appended(base, QStringLiteral("/api/auth/") + provider + QStringLiteral("/start"));
}
std::optional<QUrl> ServiceEndpoints::authExchange(const QString& base) {
    return appended(base, QStringLiteral("/api/auth/exchange"));
}
std::optional<QUrl> ServiceEndpoints::authProfile(const QString& base) {
    return appended(base, QStringLiteral("/api/auth/me"));
}
std::optional<QUrl> ServiceEndpoints::authLogout(const QString& base) {
    return appended(base, QStringLiteral("/api/auth/logout"));
}
std::optional<QUrl> ServiceEndpoints::sync(const QString& base, const QString& streamKey) {
    return appended(base, QStringLiteral("/api/sync/") + streamKey);
}
std::optional<QUrl> ServiceEndpoints::account(const QString& base) {
    return appended(base, QStringLiteral("/api/account"));
}

std::optional<QUrl> ServiceEndpoints::withQueryItems(const QString& address,
                                                     const QList<QPair<QString, QString>>& items) {
    QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    QUrlQuery query(url);
    for (const auto& [name, value] : items)
        query.addQueryItem(name, value);
    url.setQuery(query);
    return url;
}

std::optional<QUrl> ServiceEndpoints::versionFeed(const std::optional<QString>& feedOverride,
                                                  const QString& product, const QString& platform) {
    const QString address = feedOverride.value_or(builtInBase() + QStringLiteral("/api/version"));
    return withQueryItems(
        address, {{QStringLiteral("product"), product}, {QStringLiteral("platform"), platform}});
}

std::optional<QUrl> ServiceEndpoints::languagePage(AppLanguage language, const QString& page) {
    const QString prefix = language == AppLanguage::vi
                               ? QString()
                               : QStringLiteral("/") + AppLanguages::rawValue(language);
    return appended(builtInBase(), prefix + QStringLiteral("/") + page);
}

std::optional<QUrl> ServiceEndpoints::guidePage(AppLanguage language) {
    return languagePage(language, QStringLiteral("guide"));
}

std::optional<QUrl> ServiceEndpoints::privacyPage(AppLanguage language) {
    return languagePage(language, QStringLiteral("privacy"));
}

std::optional<QUrl> ServiceEndpoints::downloadPage(const QString& base, const QString& product,
                                                   const QString& platform) {
    return withQueryItems(base + QStringLiteral("/download"),
                          {{QStringLiteral("product"), product},
                           {QStringLiteral("platform"), platform},
                           {QStringLiteral("source"), QStringLiteral("app")}});
}

std::pair<QByteArray, QByteArray> ServiceEndpoints::authorization(const QString& token) {
    return {"Authorization", "Bearer " + token.toUtf8()};
}

} // namespace ovrel
