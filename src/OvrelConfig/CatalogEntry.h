#pragma once

#include "OvrelConfig/CatalogRelease.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace ovrel {

// Language code -> text, as the catalog sends names and summaries.
using CatalogTexts = QMap<QString, QString>;

// One module offered by the online catalog for this hub version.
struct CatalogEntry {
    QString id;
    CatalogTexts name;
    CatalogTexts summary;
    std::optional<QString> iconUrl;
    // The newest release compatible with the requesting hub.
    std::optional<CatalogRelease> latest;
    std::optional<CatalogIncompatible> incompatible;
    std::optional<CatalogTexts> description;
    std::optional<QStringList> screenshots;

    bool operator==(const CatalogEntry&) const = default;
};

} // namespace ovrel
