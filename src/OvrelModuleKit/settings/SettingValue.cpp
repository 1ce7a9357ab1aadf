#include "OvrelModuleKit/settings/SettingValue.h"

#include "OvrelModuleKit/json/JsonDecodingError.h"

namespace ovrel {

SettingValue SettingValue::decode(const JsonValue& json) {
    if (json.isBool())
        return fromBool(json.toBool());
    if (const std::optional<qint64> i = json.toInteger())
        return fromInt(*i);
    if (json.isString())
        return fromString(json.toString());
    throw JsonDecodingError(JsonDecodingError::Kind::dataCorrupted,
                            QStringLiteral("giá trị cấu hình lạ"));
}

std::optional<bool> SettingValue::boolValue() const {
    if (const bool* b = std::get_if<bool>(&m_value))
        return *b;
    return std::nullopt;
}

std::optional<qint64> SettingValue::intValue() const {
    if (const qint64* i = std::get_if<qint64>(&m_value))
        return *i;
    return std::nullopt;
}

std::optional<QString> SettingValue::stringValue() const {
    if (const QString* s = std::get_if<QString>(&m_value))
        return *s;
    return std::nullopt;
}

JsonValue SettingValue::toJson() const {
    switch (kind()) {
    case Kind::boolean:
        return JsonValue::fromBool(std::get<bool>(m_value));
    case Kind::integer:
        return JsonValue::fromInteger(std::get<qint64>(m_value));
    case Kind::string:
        return JsonValue::fromString(std::get<QString>(m_value));
    }
    return {};
}

QJsonValue SettingValue::toQJsonValue() const {
    switch (kind()) {
    case Kind::boolean:
        return QJsonValue(std::get<bool>(m_value));
    case Kind::integer:
        return QJsonValue(std::get<qint64>(m_value));
    case Kind::string:
        return QJsonValue(std::get<QString>(m_value));
    }
    return {};
}

} // namespace ovrel
