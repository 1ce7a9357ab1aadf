#pragma once

#include "OvrelModuleKit/json/JsonValue.h"

#include <QJsonValue>
#include <QMap>
#include <QString>
#include <optional>
#include <variant>

namespace ovrel {

// A stored setting: a boolean, a signed 64-bit integer or a text (enumeration
// settings store their option value as text). In JSON a bare value.
class SettingValue {
public:
    enum class Kind { boolean, integer, string };

    // false; exists so that Qt containers can hold values.
    SettingValue() = default;

    static SettingValue fromBool(bool value) { return SettingValue(Storage(value)); }
    static SettingValue fromInt(qint64 value) { return SettingValue(Storage(value)); }
    static SettingValue fromString(QString value) {
        return SettingValue(Storage(std::move(value)));
    }

    // Tries a boolean, then an integer, then a string; anything else (a fraction,
    // null, an array, an object) is data corruption described as
    // "giá trị cấu hình lạ". Throws JsonDecodingError.
    static SettingValue decode(const JsonValue& json);

    Kind kind() const { return static_cast<Kind>(m_value.index()); }
    std::optional<bool> boolValue() const;
    std::optional<qint64> intValue() const;
    std::optional<QString> stringValue() const;

    JsonValue toJson() const;
    QJsonValue toQJsonValue() const;

    bool operator==(const SettingValue& other) const = default;

private:
    using Storage = std::variant<bool, qint64, QString>;
    explicit SettingValue(Storage value) : m_value(std::move(value)) {}
    Storage m_value;
};

// Setting key -> value; kept sorted by key.
using SettingsMap = QMap<QString, SettingValue>;

} // namespace ovrel
