#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace ovrel::devservice {

// The modules the local service offers: a verbatim DIR/catalog.json when
// there is one, else a catalog made from the signed module zips in DIR (id,
// names and summary from each manifest, version, digest and size of the zip).
// Read anew on every request (no cache: file times are too coarse to notice a
// zip replaced within a few milliseconds), so tests may swap archives freely.
class ModuleCatalogSource {
public:
    explicit ModuleCatalogSource(QString directory) : m_directory(std::move(directory)) {}

    // The catalog answer for a hub of `hostVersion`: a release whose
    // minHostVersion is newer than the hub is offered as "incompatible".
    QByteArray catalogJson(const QString& hostVersion);

    // DIR/<id>.zip, else the zip whose manifest names `id`; empty for none
    // (and for anything that is no module id).
    QString archivePath(const QString& id);

private:
    struct Archive {
        QString path;
        QJsonObject manifest;
        QString sha256;
        qint64 size = 0;
    };
    void scan();
    static QJsonObject entryFor(const Archive& archive, const QString& hostVersion);

    QString m_directory;
    QList<Archive> m_archives; // the last scan, in file-name order
};

} // namespace ovrel::devservice
