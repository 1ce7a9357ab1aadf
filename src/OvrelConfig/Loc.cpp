#include "OvrelConfig/Loc.h"

#include "OvrelConfig/StringTable.h"
#include "OvrelConfig/strings/Strings.h"

namespace ovrel {

QString Loc::t(LocKey key, AppLanguage language) {
    return lookup(key, Strings::table(language), Strings::vi());
}

QString Loc::lookup(LocKey key, const StringTable& table, const StringTable& fallback) {
    if (const QString* text = table.find(key))
        return *text;
    if (const QString* text = fallback.find(key))
        return *text;
    return QStringLiteral("⚠️ missing: ") + QString::fromLatin1(locKeyName(key));
}

QString Loc::format(LocKey key, AppLanguage language, const QStringList& args) {
    return formatText(t(key, language), args);
}

QString Loc::formatText(const QString& pattern, const QStringList& args) {
    QString out;
    out.reserve(pattern.size());
    qsizetype nextArg = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        const QChar conversion = i + 1 < pattern.size() ? pattern[i + 1] : QChar();
        if (c != u'%' || conversion.isNull()) {
            out += c;
            continue;
        }
        if (conversion == u'%') {
            out += u'%';
        } else if ((conversion == u'@' || conversion == u'd') && nextArg < args.size()) {
            // Arguments are inserted as they are: a "%@" inside one is not filled again.
            out += args[nextArg++];
        } else {
            out += c;
            out += conversion;
        }
        ++i;
    }
    return out;
}

} // namespace ovrel
