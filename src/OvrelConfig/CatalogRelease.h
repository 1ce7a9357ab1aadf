#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace ovrel {

// One published release of a module as the catalog describes it.
struct CatalogRelease {
    QString version;
    // Carried only: archives are always fetched from the service's download
    // address for the module, never from here.
    std::optional<QString> zipUrl;
    QString sha256; // hex digest of the zip archive, compared case-insensitively
    qint64 sizeBytes = 0;
    QString minHostVersion;
    std::optional<QString> minMacOS;

    bool operator==(const CatalogRelease&) const = default;
};

// Present when the module exists but no release fits the requesting hub.
struct CatalogIncompatible {
    QString minHostVersion;

    bool operator==(const CatalogIncompatible&) const = default;
};

} // namespace ovrel
