#include "OvrelHub/update/VersionFeed.h"

#include "OvrelConfig/VersionComparator.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel {

namespace {

std::optional<QString> optionalString(const QJsonObject& object, const QString& key, bool* ok) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    if (!value.isString())
        *ok = false;
    return value.toString();
}

std::optional<QMap<QString, QString>> optionalNotesByLang(const QJsonObject& object, bool* ok) {
    const QJsonValue value = object.value(QStringLiteral("notesByLang"));
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    if (!value.isObject()) {
        *ok = false;
        return std::nullopt;
    }
    QMap<QString, QString> notes;
    const QJsonObject map = value.toObject();
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (!it.value().isString()) {
            *ok = false;
            return std::nullopt;
        }
        notes.insert(it.key(), it.value().toString());
    }
    return notes;
}

} // namespace

CheckResult VersionFeed::evaluate(const QByteArray& body, const QString& runningVersion) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return CheckResult::failed();
    const QJsonObject feed = document.object();
    const QJsonValue version = feed.value(QStringLiteral("version"));
    const QJsonValue dmgUrl = feed.value(QStringLiteral("dmgUrl"));
    if (!version.isString() || !dmgUrl.isString())
        return CheckResult::failed();

    bool ok = true;
    UpdateRelease release;
    release.version = version.toString();
    release.notes = optionalString(feed, QStringLiteral("notes"), &ok).value_or(QString());
    release.notesByLang = optionalNotesByLang(feed, &ok);
    release.publishedAt = optionalString(feed, QStringLiteral("publishedAt"), &ok);
    release.dmgUrl = QUrl(dmgUrl.toString(), QUrl::StrictMode);
    if (!ok || !release.dmgUrl.isValid() || release.dmgUrl.isRelative())
        return CheckResult::failed();

    if (!VersionComparator::isNewer(release.version, runningVersion))
        return CheckResult::upToDate();
    return CheckResult::available(std::move(release));
}

} // namespace ovrel
