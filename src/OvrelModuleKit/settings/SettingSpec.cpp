#include "OvrelModuleKit/settings/SettingSpec.h"

#include "OvrelModuleKit/json/JsonFields.h"
#include "OvrelModuleKit/text/Graphemes.h"

#include <algorithm>

namespace ovrel {

namespace {

EnumOption decodeOption(const JsonValue& json) {
    const JsonFields fields(json);
    return EnumOption{fields.requiredString(u"value"),
                      LocalizedText::decode(fields.required(u"label"))};
}

QList<EnumOption> decodeOptions(const JsonValue::Array& array) {
    QList<EnumOption> options;
    options.reserve(static_cast<qsizetype>(array.size()));
    for (const JsonValue& item : array)
        options.append(decodeOption(item));
    return options;
}

} // namespace

SettingSpec SettingSpec::decode(const JsonValue& json) {
    const JsonFields f(json);
    const QString type = f.requiredString(u"type");
    if (type == u"bool")
        return BoolSpec{f.requiredString(u"key"), LocalizedText::decode(f.required(u"label")),
                        f.requiredBool(u"default"), f.optionalString(u"group")};
    if (type == u"int")
        return IntSpec{f.requiredString(u"key"),      LocalizedText::decode(f.required(u"label")),
                       f.requiredInteger(u"default"), f.requiredInteger(u"min"),
                       f.requiredInteger(u"max"),     f.optionalString(u"group")};
    if (type == u"enum")
        return EnumSpec{f.requiredString(u"key"), LocalizedText::decode(f.required(u"label")),
                        f.requiredString(u"default"), decodeOptions(f.requiredArray(u"options")),
                        f.optionalString(u"group")};
    if (type == u"string")
        return StringSpec{f.requiredString(u"key"), LocalizedText::decode(f.required(u"label")),
                          f.requiredString(u"default"), f.requiredInteger(u"maxLength"),
                          f.optionalString(u"group")};
    throw JsonDecodingError(JsonDecodingError::Kind::dataCorrupted,
                            QStringLiteral("kiểu cấu hình lạ: ") + type);
}

const QString& SettingSpec::key() const {
    return std::visit([](const auto& s) -> const QString& { return s.key; }, m_spec);
}

const LocalizedText& SettingSpec::label() const {
    return std::visit([](const auto& s) -> const LocalizedText& { return s.label; }, m_spec);
}

const std::optional<QString>& SettingSpec::group() const {
    return std::visit([](const auto& s) -> const std::optional<QString>& { return s.group; },
                      m_spec);
}

SettingValue SettingSpec::defaultValue() const {
    switch (kind()) {
    case Kind::boolean:
        return SettingValue::fromBool(std::get<BoolSpec>(m_spec).defaultValue);
    case Kind::integer:
        return SettingValue::fromInt(std::get<IntSpec>(m_spec).defaultValue);
    case Kind::enumeration:
        return SettingValue::fromString(std::get<EnumSpec>(m_spec).defaultValue);
    case Kind::string:
        return SettingValue::fromString(std::get<StringSpec>(m_spec).defaultValue);
    }
    return SettingValue::fromBool(false);
}

bool SettingSpec::accepts(const SettingValue& value) const {
    switch (kind()) {
    case Kind::boolean:
        return value.boolValue().has_value();
    case Kind::integer: {
        const IntSpec& spec = std::get<IntSpec>(m_spec);
        const std::optional<qint64> i = value.intValue();
        return i && spec.min <= *i && *i <= spec.max;
    }
    case Kind::enumeration: {
        const std::optional<QString> s = value.stringValue();
        const QList<EnumOption>& options = std::get<EnumSpec>(m_spec).options;
        return s && std::any_of(options.cbegin(), options.cend(),
                                [&](const EnumOption& o) { return o.value == *s; });
    }
    case Kind::string: {
        const std::optional<QString> s = value.stringValue();
        return s && Graphemes::atMost(*s, std::get<StringSpec>(m_spec).maxLength);
    }
    }
    return false;
}

} // namespace ovrel
