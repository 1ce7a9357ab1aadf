#pragma once

#include <Qt>
#include <QtGlobal>
#include <optional>

class QKeyEvent;

namespace ovrel {

// The four modifier keys a shortcut can require.
struct ModifierFlags {
    bool control = false;
    bool shift = false;
    bool option = false;
    bool command = false;

    bool operator==(const ModifierFlags&) const = default;
};

// Shortcuts are stored with macOS virtual key codes so stored files mean the
// same on every platform. Qt reports keys by meaning (Qt::Key_A), not by
// position, so this table maps between the two on the US ANSI layout: a key is
// recorded as the code of the ANSI key that types the same character, and a
// code is shown through the Qt key it maps back to.
//
// Modifiers: Ctrl is control, Alt is option, Shift is shift and the Meta
// (Super/Windows) key is command. Qt on Linux reports the keys as they are
// labelled, so the symbols shown (⌃ ⌥ ⇧ ⌘) name the physical keys the user pressed.
class KeyCodes {
public:
    // The key code for a Qt key; `keypad` selects the numeric pad's own codes
    // (digits, operators, Enter) where it has them. Shifted symbols of the ANSI
    // layout ("!" for 1, "{" for [ ...) give the code of their key. None for keys
    // that have no macOS code (modifier keys alone, media keys, ...).
    static std::optional<qint64> fromQtKey(int qtKey, bool keypad = false);

    // The Qt key a code stands for, without the keypad flag; none for unknown codes.
    static std::optional<int> toQtKey(qint64 keycode);
    // Whether the code is one of the numeric pad's own keys.
    static bool isKeypad(qint64 keycode);

    static ModifierFlags modifierFlags(Qt::KeyboardModifiers modifiers);

    // The code of the event's key (the keypad flag taken into account); none
    // when the key has no code.
    static std::optional<qint64> keycode(const QKeyEvent& event);

    // Codes the hub names directly.
    static constexpr qint64 kReturn = 36;
    static constexpr qint64 kTab = 48;
    static constexpr qint64 kSpace = 49;
    static constexpr qint64 kDelete = 51;
    static constexpr qint64 kEscape = 53;
    static constexpr qint64 kLeftArrow = 123;
    static constexpr qint64 kRightArrow = 124;
    static constexpr qint64 kDownArrow = 125;
    static constexpr qint64 kUpArrow = 126;
};

} // namespace ovrel
