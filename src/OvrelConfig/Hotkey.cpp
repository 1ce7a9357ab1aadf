#include "OvrelConfig/Hotkey.h"

#include "OvrelConfig/HotkeyDisplay.h"

#include <QJsonDocument>
#include <QKeyEvent>

namespace ovrel {

namespace {

const char* boolText(bool value) {
    return value ? "true" : "false";
}

// Appends `"key":value` members in call order; the keys here are plain ASCII.
class OrderedObjectWriter {
public:
    OrderedObjectWriter& member(const char* key, const QByteArray& rawValue) {
        m_bytes += m_bytes.isEmpty() ? "{\"" : ",\"";
        m_bytes += key;
        m_bytes += "\":";
        m_bytes += rawValue;
        return *this;
    }
    OrderedObjectWriter& member(const char* key, bool value) {
        return member(key, QByteArray(boolText(value)));
    }
    OrderedObjectWriter& member(const char* key, qint64 value) {
        return member(key, QByteArray::number(value));
    }
    QByteArray finish() const { return m_bytes.isEmpty() ? QByteArray("{}") : m_bytes + '}'; }

private:
    QByteArray m_bytes;
};

// A whole number that fits 64 bits exactly; Qt keeps integer literals exact.
std::optional<qint64> exactInteger(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const qint64 a = value.toInteger(0);
    const qint64 b = value.toInteger(1);
    if (a != b)
        return std::nullopt;
    return a;
}

} // namespace

bool Hotkey::matches(const QKeyEvent& event) const {
    const std::optional<qint64> code = KeyCodes::keycode(event);
    return code && *code == keycode && KeyCodes::modifierFlags(event.modifiers()) == modifiers();
}

std::optional<Hotkey> Hotkey::fromKeyEvent(const QKeyEvent& event) {
    const std::optional<qint64> code = KeyCodes::keycode(event);
    if (!code)
        return std::nullopt;
    return Hotkey(*code, KeyCodes::modifierFlags(event.modifiers()));
}

QString Hotkey::modifierPrefix() const {
    QString prefix;
    if (control)
        prefix += QChar(0x2303); // ⌃
    if (option)
        prefix += QChar(0x2325); // ⌥
    if (shift)
        prefix += QChar(0x21E7); // ⇧
    if (command)
        prefix += QChar(0x2318); // ⌘
    return prefix;
}

QString Hotkey::label() const {
    return modifierPrefix() + HotkeyDisplay::name(keycode);
}

QByteArray Hotkey::toJson() const {
    return OrderedObjectWriter()
        .member(kKeycodeKey, keycode)
        .member(kControlKey, control)
        .member(kShiftKey, shift)
        .member(kOptionKey, option)
        .member(kCommandKey, command)
        .finish();
}

QJsonObject Hotkey::toJsonObject() const {
    QJsonObject object;
    object.insert(QLatin1String(kKeycodeKey), keycode);
    object.insert(QLatin1String(kControlKey), control);
    object.insert(QLatin1String(kShiftKey), shift);
    object.insert(QLatin1String(kOptionKey), option);
    object.insert(QLatin1String(kCommandKey), command);
    return object;
}

std::optional<Hotkey> Hotkey::fromJson(const QJsonValue& value) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const std::optional<qint64> code = exactInteger(object.value(QLatin1String(kKeycodeKey)));
    if (!code)
        return std::nullopt;
    Hotkey hotkey;
    hotkey.keycode = *code;
    const std::pair<const char*, bool Hotkey::*> flags[] = {{kControlKey, &Hotkey::control},
                                                            {kShiftKey, &Hotkey::shift},
                                                            {kOptionKey, &Hotkey::option},
                                                            {kCommandKey, &Hotkey::command}};
    for (const auto& [key, field] : flags) {
        const QJsonValue flag = object.value(QLatin1String(key));
        if (!flag.isBool())
            return std::nullopt;
        hotkey.*field = flag.toBool();
    }
    return hotkey;
}

std::optional<Hotkey> Hotkey::fromJson(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return fromJson(QJsonValue(document.object()));
}

} // namespace ovrel
