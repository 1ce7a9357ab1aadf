#pragma once

#include <QString>

namespace ovrel {

struct Hotkey;

// The name of a key as shortcuts show it.
class HotkeyDisplay {
public:
    // The shortcut as a Linux desktop writes it, which is what the user sees:
    // "Ctrl", "Alt", "Shift", "Super" in this order, each followed by "+",
    // then desktopKeyName. Stored shortcuts keep their macOS form.
    static QString desktopText(const Hotkey& hotkey);
    // The key's name in the desktop's words: the Qt key's text ("K", "F5",
    // "Backspace", "Left", "Num+1" for the numeric pad), a typed character
    // upper-cased; "Key " and the code for a code without a Qt key.
    static QString desktopKeyName(qint64 keycode);

    // A fixed name for Space, Tab, Return, Delete, Esc and the arrows; for other
    // codes below 65536 the single character the key types, upper-cased; else
    // "Key " and the code.
    //
    // The character comes from the Qt key the code maps to (KeyCodes) and that
    // key's QKeySequence text. Recording stores the code of the ANSI key typing
    // the same character, so what was pressed is what is shown, whatever the
    // user's layout. Keys whose text is a word ("F1", "Home") type no single
    // character and show as "Key " and the code.
    static QString name(qint64 keycode);
};

} // namespace ovrel
