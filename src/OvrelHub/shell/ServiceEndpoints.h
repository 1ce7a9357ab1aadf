#pragma once

#include "OvrelConfig/AppLanguage.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>
#include <utility>

namespace ovrel {

// Every address the hub asks of the online service, built in one place. Two
// base rules exist side by side because callers differ in what they need:
// URL-joined requests (catalog, archives) go through resolveApiBase, the rest
// append their path to the base as text.
class ServiceEndpoints {
public:
    // The deployment's service base URL, fixed at build time.
    static QString builtInBase();

    // The override when it is an https URL with a host, or an http URL to this
    // machine (127.0.0.1, localhost, ::1); otherwise the
    // fallback (logging a non-empty override that was refused); "about:blank"
    // when even the fallback does not parse.
    static QUrl resolveApiBase(const std::optional<QString>& override, const QString& fallback);

    // base/api/modules?host=<hostVersion>; any query of the base is replaced.
    static QUrl catalog(const QUrl& base, const QString& hostVersion);
    // base/api/modules/<id>/download?host=<hostVersion>.
    static QUrl moduleDownload(const QUrl& base, const QString& id, const QString& hostVersion);

    // Text-appended requests: nothing when the result is not a valid URL.
    static std::optional<QUrl> appended(const QString& base, const QString& path);
    static std::optional<QUrl> authStart(const QString& base, const QString& provider);
    static std::optional<QUrl> authExchange(const QString& base);
    static std::optional<QUrl> authProfile(const QString& base);
    static std::optional<QUrl> authLogout(const QString& base);
    static std::optional<QUrl> sync(const QString& base, const QString& streamKey);
    static std::optional<QUrl> account(const QString& base);

    // The version feed: the override (or builtInBase()/api/version) with
    // "product" and "platform" appended after any query items it has.
    static std::optional<QUrl> versionFeed(const std::optional<QString>& feedOverride,
                                           const QString& product, const QString& platform);

    // Browser pages on the built-in base, with a language prefix except in Vietnamese.
    static std::optional<QUrl> guidePage(AppLanguage language);
    static std::optional<QUrl> privacyPage(AppLanguage language);
    // base/download with "product", "platform" and "source" = "app" appended.
    static std::optional<QUrl> downloadPage(const QString& base, const QString& product,
                                            const QString& platform);

    // The header "Authorization: Bearer <token>".
    static std::pair<QByteArray, QByteArray> authorization(const QString& token);

private:
    static std::optional<QUrl> withQueryItems(const QString& address,
                                              const QList<QPair<QString, QString>>& items);
    static std::optional<QUrl> languagePage(AppLanguage language, const QString& page);
};

} // namespace ovrel
