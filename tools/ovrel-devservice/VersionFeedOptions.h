#pragma once

#include <QMap>
#include <QString>

namespace ovrel::devservice {

// The hub release the version feed announces. By default "0.0.0", so a hub
// finds itself up to date unless a newer version is asked for.
struct VersionFeedOptions {
    QString newestVersion = QStringLiteral("0.0.0");
    QString notes;                      // flat notes, absent from the feed when empty
    QMap<QString, QString> notesByLang; // absent from the feed when empty
    QString publishedAt;                // absent from the feed when empty

    // Takes "--newest-version V", "--release-notes TEXT",
    // "--release-notes-lang LANG=TEXT" (repeatable) and "--published-at DATE".
    // Returns false for other names; sets *error for a bad value.
    bool take(const QString& name, const QString& value, QString* error);
};

} // namespace ovrel::devservice
