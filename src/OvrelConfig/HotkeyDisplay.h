#pragma once

#include <QString>

namespace ovrel {

// The name of a key as shortcuts show it.
class HotkeyDisplay {
public:
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
