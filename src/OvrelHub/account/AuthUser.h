#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <optional>

namespace ovrel {

// The signed-in user's profile as the service sends it; kept only in memory.
struct AuthUser {
    std::optional<QString> email;
    std::optional<QString> name;
    std::optional<QString> avatar; // an image URL

    // An object whose three keys are each missing, null or a string; other
    // keys are ignored. Anything else is no profile.
    static std::optional<AuthUser> fromJson(const QJsonValue& json);
    static std::optional<AuthUser> decode(const QByteArray& body);

    bool operator==(const AuthUser&) const = default;
};

// The body of a successful code exchange: a usable bearer token and a user.
struct ExchangeResponse {
    QString token;
    AuthUser user;

    static std::optional<ExchangeResponse> decode(const QByteArray& body);
    // RFC 6750 token characters only, at most 4096 of them: a token goes into
    // a request header and must not be able to add a line of its own.
    static bool isUsableToken(const QString& token);
};

} // namespace ovrel
