#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace ovrel {

// A parsed JSON value that keeps what QJsonValue loses: whether a number was
// written as an integer, the members' order, and exact 64-bit integers.
class JsonValue {
public:
    enum class Type { null, boolean, integer, real, string, array, object };
    using Array = std::vector<JsonValue>;
    using Member = std::pair<QString, JsonValue>;
    using Object = std::vector<Member>;

    JsonValue() = default;
    static JsonValue fromBool(bool value);
    static JsonValue fromInteger(qint64 value);
    static JsonValue fromReal(double value);
    static JsonValue fromString(QString value);
    static JsonValue fromArray(Array value);
    static JsonValue fromObject(Object value);

    Type type() const { return static_cast<Type>(m_value.index()); }
    bool isNull() const { return type() == Type::null; }
    bool isBool() const { return type() == Type::boolean; }
    bool isNumber() const { return type() == Type::integer || type() == Type::real; }
    bool isString() const { return type() == Type::string; }
    bool isArray() const { return type() == Type::array; }
    bool isObject() const { return type() == Type::object; }

    // Payloads; valid only for the matching type.
    bool toBool() const { return std::get<bool>(m_value); }
    double toReal() const;
    const QString& toString() const { return std::get<QString>(m_value); }
    const Array& toArray() const { return std::get<Array>(m_value); }
    const Object& toObject() const { return std::get<Object>(m_value); }

    // The number as a signed 64-bit integer when its value is one: written as an
    // integer, or written with a fraction or exponent whose value is whole and in
    // range (2.0, 1e2). A fraction such as 1.5 is never an integer.
    std::optional<qint64> toInteger() const;

    // Member of an object by name; null when absent or when this is not an object.
    const JsonValue* member(QStringView name) const;

    bool operator==(const JsonValue& other) const = default;

private:
    using Storage = std::variant<std::monostate, bool, qint64, double, QString, Array, Object>;
    explicit JsonValue(Storage value) : m_value(std::move(value)) {}
    Storage m_value;
};

} // namespace ovrel
