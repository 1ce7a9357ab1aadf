#pragma once

#include "OvrelModuleKit/json/JsonValue.h"
#include "OvrelModuleKit/settings/SettingValue.h"
#include "OvrelModuleKit/text/LocalizedText.h"

#include <QList>
#include <optional>
#include <variant>

namespace ovrel {

struct BoolSpec {
    QString key;
    LocalizedText label;
    bool defaultValue = false;
    std::optional<QString> group;
    bool operator==(const BoolSpec& other) const = default;
};

struct IntSpec {
    QString key;
    LocalizedText label;
    qint64 defaultValue = 0;
    qint64 min = 0;
    qint64 max = 0;
    std::optional<QString> group;
    bool operator==(const IntSpec& other) const = default;
};

struct EnumOption {
    QString value;
    LocalizedText label;
    bool operator==(const EnumOption& other) const = default;
};

struct EnumSpec {
    QString key;
    LocalizedText label;
    QString defaultValue; // the value of one of the options
    QList<EnumOption> options;
    std::optional<QString> group;
    bool operator==(const EnumSpec& other) const = default;
};

struct StringSpec {
    QString key;
    LocalizedText label;
    QString defaultValue;
    qint64 maxLength = 0; // user-perceived characters
    std::optional<QString> group;
    bool operator==(const StringSpec& other) const = default;
};

// One setting a module declares: a boolean, an integer in a range, a choice
// among options, or a text of bounded length. In JSON one object whose "type"
// ("bool", "int", "enum", "string") selects the kind.
class SettingSpec {
public:
    enum class Kind { boolean, integer, enumeration, string };
    using Variant = std::variant<BoolSpec, IntSpec, EnumSpec, StringSpec>;

    SettingSpec(BoolSpec spec) : m_spec(std::move(spec)) {}
    SettingSpec(IntSpec spec) : m_spec(std::move(spec)) {}
    SettingSpec(EnumSpec spec) : m_spec(std::move(spec)) {}
    SettingSpec(StringSpec spec) : m_spec(std::move(spec)) {}

    // Throws JsonDecodingError; an unknown "type" is data corruption described as
    // "kiểu cấu hình lạ: " followed by the type.
    static SettingSpec decode(const JsonValue& json);

    Kind kind() const { return static_cast<Kind>(m_spec.index()); }
    const Variant& variant() const { return m_spec; }

    const QString& key() const;
    const LocalizedText& label() const;
    const std::optional<QString>& group() const;

    // The declared default as a stored value (an enumeration's is its option value).
    SettingValue defaultValue() const;

    // Whether a stored value fits this declaration as it stands.
    bool accepts(const SettingValue& value) const;

    bool operator==(const SettingSpec& other) const = default;

private:
    Variant m_spec;
};

} // namespace ovrel
