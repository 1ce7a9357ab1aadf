#pragma once

#include "OvrelConfig/KeyCodes.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <map>
#include <optional>

class QKeyEvent;

namespace ovrel {

// A keyboard shortcut: a macOS virtual key code and the modifier keys that must
// be held, no more and no fewer.
struct Hotkey {
    qint64 keycode = 0;
    bool control = false;
    bool shift = false;
    bool option = false;
    bool command = false;

    Hotkey() = default;
    Hotkey(qint64 keycode, bool control, bool shift, bool option, bool command)
        : keycode(keycode), control(control), shift(shift), option(option), command(command) {}
    Hotkey(qint64 keycode, ModifierFlags flags)
        : Hotkey(keycode, flags.control, flags.shift, flags.option, flags.command) {}

    bool operator==(const Hotkey&) const = default;

    ModifierFlags modifiers() const { return {control, shift, option, command}; }

    // The event's key is this key code and exactly these four modifiers are held;
    // Caps Lock, the numeric-pad flag and other modifiers are ignored.
    bool matches(const QKeyEvent& event) const;

    // The shortcut a key press records; none for keys without a code.
    static std::optional<Hotkey> fromKeyEvent(const QKeyEvent& event);

    // "⌃", "⌥", "⇧", "⌘" in this order, for the modifiers held.
    QString modifierPrefix() const;
    // The modifier prefix followed by the key's display name.
    QString label() const;

    // The five keys of the JSON form, in this order.
    static constexpr const char* kKeycodeKey = "keycode";
    static constexpr const char* kControlKey = "control";
    static constexpr const char* kShiftKey = "shift";
    static constexpr const char* kOptionKey = "option";
    static constexpr const char* kCommandKey = "command";

    // Compact JSON object with the keys in the order above.
    QByteArray toJson() const;
    // The same object for embedding in a larger document (a QJsonObject orders
    // its keys itself, as the sorted state file wants).
    QJsonObject toJsonObject() const;

    // All five keys are required: "keycode" a whole number that fits 64 bits
    // (1.5 is refused), the others Booleans. Anything else gives none.
    static std::optional<Hotkey> fromJson(const QJsonValue& value);
    static std::optional<Hotkey> fromJson(const QByteArray& json);
};

// The shortcuts of one module, by command name.
using CommandHotkeys = std::map<QString, Hotkey>;

} // namespace ovrel
