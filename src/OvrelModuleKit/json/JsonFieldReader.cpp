#include "OvrelModuleKit/json/JsonFieldReader.h"

#include "OvrelModuleKit/json/JsonReader.h"

namespace ovrel::JsonFieldReader {

namespace {

// Absent for a missing or null member; otherwise what convert makes of it,
// wrong type when it makes nothing.
template <typename T, typename Convert>
JsonField<T> read(const JsonValue& object, QStringView key, Convert convert) {
    const JsonValue* value = object.member(key);
    if (!value || value->isNull())
        return {};
    std::optional<T> converted = convert(*value);
    if (!converted)
        return {JsonField<T>::State::wrongType, T{}};
    return {JsonField<T>::State::present, std::move(*converted)};
}

} // namespace

std::optional<JsonValue> parseObject(QByteArrayView bytes) {
    std::optional<JsonValue> document = JsonReader::parse(bytes);
    if (!document || !document->isObject())
        return std::nullopt;
    return document;
}

JsonField<QString> string(const JsonValue& object, QStringView key) {
    return read<QString>(object, key, [](const JsonValue& v) -> std::optional<QString> {
        return v.isString() ? std::optional(v.toString()) : std::nullopt;
    });
}

JsonField<bool> boolean(const JsonValue& object, QStringView key) {
    return read<bool>(object, key, [](const JsonValue& v) -> std::optional<bool> {
        return v.isBool() ? std::optional(v.toBool()) : std::nullopt;
    });
}

JsonField<double> number(const JsonValue& object, QStringView key) {
    return read<double>(object, key, [](const JsonValue& v) -> std::optional<double> {
        return v.isNumber() ? std::optional(v.toReal()) : std::nullopt;
    });
}

JsonField<qint64> integer(const JsonValue& object, QStringView key) {
    return read<qint64>(object, key, [](const JsonValue& v) -> std::optional<qint64> {
        return v.isNumber() ? v.toInteger() : std::nullopt;
    });
}

JsonField<const JsonValue::Array*> array(const JsonValue& object, QStringView key) {
    return read<const JsonValue::Array*>(
        object, key, [](const JsonValue& v) -> std::optional<const JsonValue::Array*> {
            return v.isArray() ? std::optional(&v.toArray()) : std::nullopt;
        });
}

JsonField<const JsonValue::Object*> object(const JsonValue& object, QStringView key) {
    return read<const JsonValue::Object*>(
        object, key, [](const JsonValue& v) -> std::optional<const JsonValue::Object*> {
            return v.isObject() ? std::optional(&v.toObject()) : std::nullopt;
        });
}

} // namespace ovrel::JsonFieldReader
