#include "OvrelModuleKit/json/JsonValue.h"

#include <cmath>

namespace ovrel {

JsonValue JsonValue::fromBool(bool value) {
    return JsonValue(Storage(value));
}
JsonValue JsonValue::fromInteger(qint64 value) {
    return JsonValue(Storage(value));
}
JsonValue JsonValue::fromReal(double value) {
    return JsonValue(Storage(value));
}
JsonValue JsonValue::fromString(QString value) {
    return JsonValue(Storage(std::move(value)));
}
JsonValue JsonValue::fromArray(Array value) {
    return JsonValue(Storage(std::move(value)));
}
JsonValue JsonValue::fromObject(Object value) {
    return JsonValue(Storage(std::move(value)));
}

double JsonValue::toReal() const {
    if (const qint64* i = std::get_if<qint64>(&m_value))
        return static_cast<double>(*i);
    return std::get<double>(m_value);
}

std::optional<qint64> JsonValue::toInteger() const {
    if (const qint64* i = std::get_if<qint64>(&m_value))
        return *i;
    const double* d = std::get_if<double>(&m_value);
    if (!d || !std::isfinite(*d) || std::trunc(*d) != *d)
        return std::nullopt;
    // 2^63 itself is out of range; every double below it converts exactly.
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (*d < -kTwoTo63 || *d >= kTwoTo63)
        return std::nullopt;
    return static_cast<qint64>(*d);
}

const JsonValue* JsonValue::member(QStringView name) const {
    const Object* object = std::get_if<Object>(&m_value);
    if (!object)
        return nullptr;
    for (const Member& m : *object) {
        if (m.first == name)
            return &m.second;
    }
    return nullptr;
}

} // namespace ovrel
