#include "OvrelHub/account/AuthUser.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel {

namespace {

// Missing and null are both "no value"; a value of another type fails.
bool readOptionalString(const QJsonObject& object, const QString& key,
                        std::optional<QString>* out) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return true;
    if (!value.isString())
        return false;
    *out = value.toString();
    return true;
}

std::optional<QJsonObject> objectOf(const QByteArray& body) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

} // namespace

std::optional<AuthUser> AuthUser::fromJson(const QJsonValue& json) {
    if (!json.isObject())
        return std::nullopt;
    const QJsonObject object = json.toObject();
    AuthUser user;
    if (!readOptionalString(object, QStringLiteral("email"), &user.email) ||
        !readOptionalString(object, QStringLiteral("name"), &user.name) ||
        !readOptionalString(object, QStringLiteral("avatar"), &user.avatar))
        return std::nullopt;
    return user;
}

std::optional<AuthUser> AuthUser::decode(const QByteArray& body) {
    const auto object = objectOf(body);
    if (!object)
        return std::nullopt;
    return fromJson(*object);
}

std::optional<ExchangeResponse> ExchangeResponse::decode(const QByteArray& body) {
    const auto object = objectOf(body);
    if (!object)
        return std::nullopt;
    const QJsonValue token = object->value(QStringLiteral("token"));
    if (!token.isString() || !isUsableToken(token.toString()))
        return std::nullopt;
    const auto user = AuthUser::fromJson(object->value(QStringLiteral("user")));
    if (!user)
        return std::nullopt;
    return ExchangeResponse{token.toString(), *user};
}

bool ExchangeResponse::isUsableToken(const QString& token) {
    if (token.isEmpty() || token.size() > 4096)
        return false;
    qsizetype i = 0;
    for (; i < token.size(); ++i) {
        const QChar c = token.at(i);
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == u'_' ||
                           c == u'~' || c == u'+' || c == u'/';
        if (!plain)
            break;
    }
    if (i == 0)
        return false;
    for (; i < token.size(); ++i) {
        if (token.at(i) != u'=')
            return false;
    }
    return true;
}

} // namespace ovrel
