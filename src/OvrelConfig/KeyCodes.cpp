#include "OvrelConfig/KeyCodes.h"

#include <QKeyEvent>
#include <unordered_map>

namespace ovrel {

namespace {

struct Entry {
    int qtKey;
    bool keypad;
    qint64 code;
};

// One row per key of the ANSI keyboard: the Qt key it produces and its macOS code.
constexpr Entry kKeys[] = {
    {Qt::Key_A, false, 0},
    {Qt::Key_S, false, 1},
    {Qt::Key_D, false, 2},
    {Qt::Key_F, false, 3},
    {Qt::Key_H, false, 4},
    {Qt::Key_G, false, 5},
    {Qt::Key_Z, false, 6},
    {Qt::Key_X, false, 7},
    {Qt::Key_C, false, 8},
    {Qt::Key_V, false, 9},
    {Qt::Key_B, false, 11},
    {Qt::Key_Q, false, 12},
    {Qt::Key_W, false, 13},
    {Qt::Key_E, false, 14},
    {Qt::Key_R, false, 15},
    {Qt::Key_Y, false, 16},
    {Qt::Key_T, false, 17},
    {Qt::Key_1, false, 18},
    {Qt::Key_2, false, 19},
    {Qt::Key_3, false, 20},
    {Qt::Key_4, false, 21},
    {Qt::Key_6, false, 22},
    {Qt::Key_5, false, 23},
    {Qt::Key_Equal, false, 24},
    {Qt::Key_9, false, 25},
    {Qt::Key_7, false, 26},
    {Qt::Key_Minus, false, 27},
    {Qt::Key_8, false, 28},
    {Qt::Key_0, false, 29},
    {Qt::Key_BracketRight, false, 30},
    {Qt::Key_O, false, 31},
    {Qt::Key_U, false, 32},
    {Qt::Key_BracketLeft, false, 33},
    {Qt::Key_I, false, 34},
    {Qt::Key_P, false, 35},
    {Qt::Key_Return, false, KeyCodes::kReturn},
    {Qt::Key_L, false, 37},
    {Qt::Key_J, false, 38},
    {Qt::Key_Apostrophe, false, 39},
    {Qt::Key_K, false, 40},
    {Qt::Key_Semicolon, false, 41},
    {Qt::Key_Backslash, false, 42},
    {Qt::Key_Comma, false, 43},
    {Qt::Key_Slash, false, 44},
    {Qt::Key_N, false, 45},
    {Qt::Key_M, false, 46},
    {Qt::Key_Period, false, 47},
    {Qt::Key_Tab, false, KeyCodes::kTab},
    {Qt::Key_Space, false, KeyCodes::kSpace},
    {Qt::Key_QuoteLeft, false, 50},
    {Qt::Key_Backspace, false, KeyCodes::kDelete},
    {Qt::Key_Escape, false, KeyCodes::kEscape},
    {Qt::Key_F17, false, 64},
    {Qt::Key_Period, true, 65},
    {Qt::Key_Asterisk, true, 67},
    {Qt::Key_Plus, true, 69},
    {Qt::Key_Clear, false, 71},
    {Qt::Key_VolumeUp, false, 72},
    {Qt::Key_VolumeDown, false, 73},
    {Qt::Key_VolumeMute, false, 74},
    {Qt::Key_Slash, true, 75},
    {Qt::Key_Enter, true, 76},
    {Qt::Key_Minus, true, 78},
    {Qt::Key_F18, false, 79},
    {Qt::Key_F19, false, 80},
    {Qt::Key_Equal, true, 81},
    {Qt::Key_0, true, 82},
    {Qt::Key_1, true, 83},
    {Qt::Key_2, true, 84},
    {Qt::Key_3, true, 85},
    {Qt::Key_4, true, 86},
    {Qt::Key_5, true, 87},
    {Qt::Key_6, true, 88},
    {Qt::Key_7, true, 89},
    {Qt::Key_F20, false, 90},
    {Qt::Key_8, true, 91},
    {Qt::Key_9, true, 92},
    {Qt::Key_F5, false, 96},
    {Qt::Key_F6, false, 97},
    {Qt::Key_F7, false, 98},
    {Qt::Key_F3, false, 99},
    {Qt::Key_F8, false, 100},
    {Qt::Key_F9, false, 101},
    {Qt::Key_F11, false, 103},
    {Qt::Key_F13, false, 105},
    {Qt::Key_F16, false, 106},
    {Qt::Key_F14, false, 107},
    {Qt::Key_F10, false, 109},
    {Qt::Key_F12, false, 111},
    {Qt::Key_F15, false, 113},
    // The Mac Help key sits where PC keyboards have Insert.
    {Qt::Key_Insert, false, 114},
    {Qt::Key_Home, false, 115},
    {Qt::Key_PageUp, false, 116},
    {Qt::Key_Delete, false, 117},
    {Qt::Key_F4, false, 118},
    {Qt::Key_End, false, 119},
    {Qt::Key_F2, false, 120},
    {Qt::Key_PageDown, false, 121},
    {Qt::Key_F1, false, 122},
    {Qt::Key_Left, false, KeyCodes::kLeftArrow},
    {Qt::Key_Right, false, KeyCodes::kRightArrow},
    {Qt::Key_Down, false, KeyCodes::kDownArrow},
    {Qt::Key_Up, false, KeyCodes::kUpArrow},
};

// Keys Qt reports under another name than the table's: shifted symbols of the
// ANSI layout, Shift+Tab, and Enter outside the numeric pad. Recording only.
constexpr Entry kAliases[] = {
    {Qt::Key_Exclam, false, 18},      {Qt::Key_At, false, 19},
    {Qt::Key_NumberSign, false, 20},  {Qt::Key_Dollar, false, 21},
    {Qt::Key_AsciiCircum, false, 22}, {Qt::Key_Percent, false, 23},
    {Qt::Key_Plus, false, 24},        {Qt::Key_ParenLeft, false, 25},
    {Qt::Key_Ampersand, false, 26},   {Qt::Key_Underscore, false, 27},
    {Qt::Key_Asterisk, false, 28},    {Qt::Key_ParenRight, false, 29},
    {Qt::Key_BraceRight, false, 30},  {Qt::Key_BraceLeft, false, 33},
    {Qt::Key_QuoteDbl, false, 39},    {Qt::Key_Colon, false, 41},
    {Qt::Key_Bar, false, 42},         {Qt::Key_Less, false, 43},
    {Qt::Key_Question, false, 44},    {Qt::Key_Greater, false, 47},
    {Qt::Key_Backtab, false, 48},     {Qt::Key_AsciiTilde, false, 50},
    {Qt::Key_Enter, false, 76},       {Qt::Key_Help, false, 114},
};

struct Tables {
    std::unordered_map<qint64, qint64> toCode; // (qtKey, keypad) packed
    std::unordered_map<qint64, const Entry*> toKey;

    static qint64 pack(int qtKey, bool keypad) {
        return (static_cast<qint64>(static_cast<quint32>(qtKey)) << 1) | (keypad ? 1 : 0);
    }

    Tables() {
        for (const Entry& e : kKeys) {
            toCode.emplace(pack(e.qtKey, e.keypad), e.code);
            toKey.emplace(e.code, &e);
        }
        for (const Entry& e : kAliases)
            toCode.emplace(pack(e.qtKey, e.keypad), e.code);
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

} // namespace

std::optional<qint64> KeyCodes::fromQtKey(int qtKey, bool keypad) {
    const Tables& t = tables();
    if (keypad) {
        // With Num Lock off the pad sends navigation keys; they share the main codes.
        if (auto it = t.toCode.find(Tables::pack(qtKey, true)); it != t.toCode.end())
            return it->second;
    }
    if (auto it = t.toCode.find(Tables::pack(qtKey, false)); it != t.toCode.end())
        return it->second;
    return std::nullopt;
}

std::optional<int> KeyCodes::toQtKey(qint64 keycode) {
    const Tables& t = tables();
    if (auto it = t.toKey.find(keycode); it != t.toKey.end())
        return it->second->qtKey;
    return std::nullopt;
}

bool KeyCodes::isKeypad(qint64 keycode) {
    const Tables& t = tables();
    auto it = t.toKey.find(keycode);
    return it != t.toKey.end() && it->second->keypad;
}

ModifierFlags KeyCodes::modifierFlags(Qt::KeyboardModifiers modifiers) {
    return {modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::ShiftModifier),
            modifiers.testFlag(Qt::AltModifier), modifiers.testFlag(Qt::MetaModifier)};
}

std::optional<qint64> KeyCodes::keycode(const QKeyEvent& event) {
    return fromQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

} // namespace ovrel
