#pragma once

#include <QString>

namespace ovrel {

// The one version ordering of the system: dotted numbers compared piece by
// piece, leniently (a piece that is not a whole 64-bit integer counts as 0).
class VersionComparator {
public:
    static bool isNewer(const QString& a, const QString& than);
};

} // namespace ovrel
