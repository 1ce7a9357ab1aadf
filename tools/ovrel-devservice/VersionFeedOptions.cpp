#include "VersionFeedOptions.h"

namespace ovrel::devservice {

bool VersionFeedOptions::take(const QString& name, const QString& value, QString* error) {
    if (name == QLatin1String("--newest-version")) {
        newestVersion = value;
    } else if (name == QLatin1String("--release-notes")) {
        notes = value;
    } else if (name == QLatin1String("--release-notes-lang")) {
        const qsizetype equals = value.indexOf(u'=');
        if (equals <= 0) {
            *error = name + QStringLiteral(": expected LANG=TEXT, got ") + value;
            return true;
        }
        notesByLang.insert(value.left(equals), value.mid(equals + 1));
    } else if (name == QLatin1String("--published-at")) {
        publishedAt = value;
    } else {
        return false;
    }
    return true;
}

} // namespace ovrel::devservice
