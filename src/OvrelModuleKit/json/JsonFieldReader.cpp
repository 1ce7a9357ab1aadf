#include "OvrelModuleKit/json/JsonFieldReader.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <cmath>

namespace ovrel::JsonFieldReader {

namespace {

template <typename T, typename Convert>
JsonField<T> read(const QJsonObject& object, QLatin1String key, QJsonValue::Type type,
                  Convert convert) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return {};
    if (value.type() != type)
        return {JsonField<T>::State::wrongType, T{}};
    std::optional<T> converted = convert(value);
    if (!converted)
        return {JsonField<T>::State::wrongType, T{}};
    return {JsonField<T>::State::present, std::move(*converted)};
}

} // namespace

std::optional<QJsonObject> parseObject(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

JsonField<QString> string(const QJsonObject& object, QLatin1String key) {
    return read<QString>(object, key, QJsonValue::String,
                         [](const QJsonValue& v) { return std::optional(v.toString()); });
}

JsonField<bool> boolean(const QJsonObject& object, QLatin1String key) {
    return read<bool>(object, key, QJsonValue::Bool,
                      [](const QJsonValue& v) { return std::optional(v.toBool()); });
}

JsonField<double> number(const QJsonObject& object, QLatin1String key) {
    return read<double>(object, key, QJsonValue::Double,
                        [](const QJsonValue& v) -> std::optional<double> {
                            const double d = v.toDouble();
                            return std::isfinite(d) ? std::optional(d) : std::nullopt;
                        });
}

JsonField<qint64> integer(const QJsonObject& object, QLatin1String key) {
    return read<qint64>(object, key, QJsonValue::Double,
                        [](const QJsonValue& v) -> std::optional<qint64> {
                            // Two different fallbacks tell "not a whole qint64" apart
                            // from a value that happens to equal one of them.
                            const qint64 a = v.toInteger(0);
                            const qint64 b = v.toInteger(1);
                            return a == b ? std::optional(a) : std::nullopt;
                        });
}

JsonField<QJsonArray> array(const QJsonObject& object, QLatin1String key) {
    return read<QJsonArray>(object, key, QJsonValue::Array,
                            [](const QJsonValue& v) { return std::optional(v.toArray()); });
}

} // namespace ovrel::JsonFieldReader
