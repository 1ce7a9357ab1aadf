#include "ModuleCatalogSource.h"

#include "OvrelConfig/VersionComparator.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/archive/ZipArchive.h"
#include "Platform/crypto/Crypto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace ovrel::devservice {

namespace {

QString fileSha256(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Crypto::Sha256 digest;
    while (!file.atEnd())
        digest.update(file.read(1 << 20));
    return QString::fromLatin1(digest.finish().toHex());
}

std::optional<QJsonObject> manifestOf(const QString& zip) {
    static const QRegularExpression manifestName(
        QStringLiteral("^[^/]+\\.app/Contents/Resources/manifest\\.json$"));
    try {
        const auto bytes = ZipArchive::readEntry(
            zip,
            [](const QByteArray& name) {
                return manifestName.match(QString::fromUtf8(name)).hasMatch();
            },
            1 << 20);
        if (!bytes)
            return std::nullopt;
        const QJsonDocument document = QJsonDocument::fromJson(*bytes);
        if (!document.isObject())
            return std::nullopt;
        return document.object();
    } catch (const ZipArchiveError&) {
        return std::nullopt;
    }
}

} // namespace

void ModuleCatalogSource::scan() {
    m_archives.clear();
    const QFileInfoList zips =
        QDir(m_directory).entryInfoList({QStringLiteral("*.zip")}, QDir::Files, QDir::Name);
    for (const QFileInfo& zip : zips) {
        const auto manifest = manifestOf(zip.absoluteFilePath());
        if (!manifest ||
            !ModulePaths::isValidModuleId(manifest->value(QStringLiteral("id")).toString()))
            continue;
        m_archives.append(Archive{zip.absoluteFilePath(), *manifest,
                                  fileSha256(zip.absoluteFilePath()), zip.size()});
    }
}

QJsonObject ModuleCatalogSource::entryFor(const Archive& archive, const QString& hostVersion) {
    const QJsonObject& manifest = archive.manifest;
    QJsonObject entry{{QStringLiteral("id"), manifest.value(QStringLiteral("id"))},
                      {QStringLiteral("name"), manifest.value(QStringLiteral("name"))},
                      {QStringLiteral("summary"), manifest.value(QStringLiteral("summary"))}};
    const QString minHost = manifest.value(QStringLiteral("minHostVersion")).toString();
    if (VersionComparator::isNewer(minHost, hostVersion)) {
        entry.insert(QStringLiteral("incompatible"),
                     QJsonObject{{QStringLiteral("minHostVersion"), minHost}});
        return entry;
    }
    QJsonObject latest{{QStringLiteral("version"), manifest.value(QStringLiteral("version"))},
                       {QStringLiteral("sha256"), archive.sha256},
                       {QStringLiteral("sizeBytes"), archive.size},
                       {QStringLiteral("minHostVersion"), minHost}};
    if (manifest.contains(QStringLiteral("minMacOS")))
        latest.insert(QStringLiteral("minMacOS"), manifest.value(QStringLiteral("minMacOS")));
    entry.insert(QStringLiteral("latest"), latest);
    return entry;
}

QByteArray ModuleCatalogSource::catalogJson(const QString& hostVersion) {
    QFile verbatim(m_directory + QStringLiteral("/catalog.json"));
    if (verbatim.open(QIODevice::ReadOnly))
        return verbatim.readAll();
    scan();
    QJsonArray entries;
    for (const Archive& archive : std::as_const(m_archives))
        entries.append(entryFor(archive, hostVersion));
    return QJsonDocument(entries).toJson(QJsonDocument::Compact);
}

QString ModuleCatalogSource::archivePath(const QString& id) {
    if (!ModulePaths::isValidModuleId(id) || m_directory.isEmpty())
        return {};
    const QString named = m_directory + QLatin1Char('/') + id + QStringLiteral(".zip");
    if (QFileInfo(named).isFile())
        return named;
    scan();
    for (const Archive& archive : std::as_const(m_archives)) {
        if (archive.manifest.value(QStringLiteral("id")).toString() == id)
            return archive.path;
    }
    return {};
}

} // namespace ovrel::devservice
