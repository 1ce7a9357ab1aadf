#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QLatin1String>
#include <QString>
#include <optional>

namespace ovrel {

// One member of a decoded JSON object, read the way a strict decoder reads a
// record: a missing key or null is absent, a value of another type is wrong.
template <typename T> struct JsonField {
    enum class State { absent, present, wrongType };

    State state = State::absent;
    T value{};

    bool isPresent() const { return state == State::present; }
    bool isWrongType() const { return state == State::wrongType; }
    T valueOr(T fallback) const { return isPresent() ? value : fallback; }
    std::optional<T> optional() const {
        return isPresent() ? std::optional<T>(value) : std::nullopt;
    }
};

// Typed access to members of JSON objects from files other processes write.
// Numbers are doubles only when finite; a number is an integer only when it is
// whole and fits in 64 bits, so a fraction never passes as an integer.
namespace JsonFieldReader {

// The document's top-level object; nothing for invalid JSON or another top level.
std::optional<QJsonObject> parseObject(const QByteArray& bytes);

JsonField<QString> string(const QJsonObject& object, QLatin1String key);
JsonField<bool> boolean(const QJsonObject& object, QLatin1String key);
JsonField<double> number(const QJsonObject& object, QLatin1String key);
JsonField<qint64> integer(const QJsonObject& object, QLatin1String key);
JsonField<QJsonArray> array(const QJsonObject& object, QLatin1String key);

} // namespace JsonFieldReader

} // namespace ovrel
