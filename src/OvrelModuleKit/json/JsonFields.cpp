#include "OvrelModuleKit/json/JsonFields.h"

namespace ovrel {

namespace {

[[noreturn]] void mismatch(QStringView what, const char* expected) {
    throw JsonDecodingError(JsonDecodingError::Kind::typeMismatch,
                            QStringLiteral("%1: expected %2").arg(what, QLatin1String(expected)));
}

} // namespace

JsonFields::JsonFields(const JsonValue& value) : m_object(value) {
    if (!value.isObject())
        mismatch(u"value", "an object");
}

const JsonValue& JsonFields::required(QStringView key) const {
    const JsonValue* v = m_object.member(key);
    if (!v)
        throw JsonDecodingError(JsonDecodingError::Kind::keyNotFound,
                                QStringLiteral("no value for key \"%1\"").arg(key));
    return *v;
}

const JsonValue* JsonFields::optional(QStringView key) const {
    const JsonValue* v = m_object.member(key);
    return v && !v->isNull() ? v : nullptr;
}

QString JsonFields::requiredString(QStringView key) const {
    return toString(required(key), key);
}

std::optional<QString> JsonFields::optionalString(QStringView key) const {
    const JsonValue* v = optional(key);
    if (!v)
        return std::nullopt;
    return toString(*v, key);
}

bool JsonFields::requiredBool(QStringView key) const {
    return toBool(required(key), key);
}

std::optional<bool> JsonFields::optionalBool(QStringView key) const {
    const JsonValue* v = optional(key);
    if (!v)
        return std::nullopt;
    return toBool(*v, key);
}

qint64 JsonFields::requiredInteger(QStringView key) const {
    return toInteger(required(key), key);
}

const JsonValue::Array& JsonFields::requiredArray(QStringView key) const {
    return toArray(required(key), key);
}

const JsonValue::Array* JsonFields::optionalArray(QStringView key) const {
    const JsonValue* v = optional(key);
    if (!v)
        return nullptr;
    return &toArray(*v, key);
}

const QString& JsonFields::toString(const JsonValue& value, QStringView what) {
    if (!value.isString())
        mismatch(what, "a string");
    return value.toString();
}

bool JsonFields::toBool(const JsonValue& value, QStringView what) {
    if (!value.isBool())
        mismatch(what, "a boolean");
    return value.toBool();
}

qint64 JsonFields::toInteger(const JsonValue& value, QStringView what) {
    const std::optional<qint64> i = value.toInteger();
    if (!i)
        mismatch(what, "a 64-bit integer");
    return *i;
}

const JsonValue::Array& JsonFields::toArray(const JsonValue& value, QStringView what) {
    if (!value.isArray())
        mismatch(what, "an array");
    return value.toArray();
}

} // namespace ovrel
