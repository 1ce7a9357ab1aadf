#pragma once

#include "OvrelModuleKit/json/JsonDecodingError.h"
#include "OvrelModuleKit/json/JsonValue.h"

#include <optional>

namespace ovrel {

// Typed access to the members of a JSON object, throwing JsonDecodingError for a
// missing required member or a member of the wrong type. An optional member that
// is null counts as absent; members nobody asks for are ignored.
class JsonFields {
public:
    // Throws typeMismatch unless the value is an object.
    explicit JsonFields(const JsonValue& value);

    const JsonValue& required(QStringView key) const;
    const JsonValue* optional(QStringView key) const;

    QString requiredString(QStringView key) const;
    std::optional<QString> optionalString(QStringView key) const;
    bool requiredBool(QStringView key) const;
    std::optional<bool> optionalBool(QStringView key) const;
    qint64 requiredInteger(QStringView key) const;
    const JsonValue::Array& requiredArray(QStringView key) const;
    const JsonValue::Array* optionalArray(QStringView key) const;

    // Conversions of single values (array elements); `what` names the value in
    // the error's description.
    static const QString& toString(const JsonValue& value, QStringView what);
    static bool toBool(const JsonValue& value, QStringView what);
    static qint64 toInteger(const JsonValue& value, QStringView what);
    static const JsonValue::Array& toArray(const JsonValue& value, QStringView what);

private:
    const JsonValue& m_object;
};

} // namespace ovrel
