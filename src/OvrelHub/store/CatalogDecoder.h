#pragma once

#include "OvrelConfig/CatalogEntry.h"

#include <QByteArrayView>
#include <QList>
#include <optional>

namespace ovrel {

// Reads the catalog answer: a JSON array of entry objects. Strict, as a
// typed decoder is: one missing required key or one value of the wrong type
// anywhere makes the whole answer undecodable. Unknown keys are ignored.
class CatalogDecoder {
public:
    static std::optional<QList<CatalogEntry>> decode(QByteArrayView body);
};

} // namespace ovrel
