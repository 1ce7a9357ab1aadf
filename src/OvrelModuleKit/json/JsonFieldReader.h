#pragma once

#include "OvrelModuleKit/json/JsonValue.h"

#include <QByteArrayView>
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

// Typed access, without exceptions, to members of JSON objects from files other
// processes write. Documents go through the strict JsonReader. A number is an
// integer only when it is whole and fits in 64 bits, so a fraction never passes
// as an integer. Arrays and objects point into the document they came from.
namespace JsonFieldReader {

// The document's top-level object; nothing for invalid JSON or another top level.
std::optional<JsonValue> parseObject(QByteArrayView bytes);

JsonField<QString> string(const JsonValue& object, QStringView key);
JsonField<bool> boolean(const JsonValue& object, QStringView key);
JsonField<double> number(const JsonValue& object, QStringView key);
JsonField<qint64> integer(const JsonValue& object, QStringView key);
JsonField<const JsonValue::Array*> array(const JsonValue& object, QStringView key);
JsonField<const JsonValue::Object*> object(const JsonValue& object, QStringView key);

} // namespace JsonFieldReader

} // namespace ovrel
