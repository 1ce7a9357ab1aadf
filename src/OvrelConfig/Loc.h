#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/LocKey.h"

#include <QString>
#include <QStringList>

namespace ovrel {

class StringTable;

// Looks up interface texts in the built-in tables.
class Loc {
public:
    // The key's text in the language; a table lacking the key falls back to the
    // Vietnamese table, and then to a visible "missing" marker.
    static QString t(LocKey key, AppLanguage language);

    // The key's text with its printf-style placeholders filled in order: "%@"
    // (a string) and "%d" (an integer) each take the next argument, "%%" is a
    // percent sign. Placeholders beyond the arguments stay as they are.
    static QString format(LocKey key, AppLanguage language, const QStringList& args);
    static QString formatText(const QString& pattern, const QStringList& args);

    // The lookup rule itself, over given tables.
    static QString lookup(LocKey key, const StringTable& table, const StringTable& fallback);
};

} // namespace ovrel
