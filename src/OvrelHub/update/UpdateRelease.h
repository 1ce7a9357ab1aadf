#pragma once

#include <QMap>
#include <QString>
#include <QUrl>
#include <optional>

namespace ovrel {

// A published release of the hub, as the version feed describes it.
struct UpdateRelease {
    QString version;
    QUrl dmgUrl;
    QString notes;
    std::optional<QMap<QString, QString>> notesByLang;
    std::optional<QString> publishedAt;

    bool operator==(const UpdateRelease&) const = default;
};

} // namespace ovrel
