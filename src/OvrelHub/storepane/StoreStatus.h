#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/ModuleAction.h"

#include <QString>

namespace ovrel {

// What a tile's status row shows: a caption, or a button that installs or
// updates.
struct TileStatus {
    enum class Kind { caption, install, update };
    Kind kind = Kind::caption;
    QString text;
    bool operator==(const TileStatus&) const = default;
};

// What the detail page's action row holds, in order: a caption, then the
// buttons that apply.
struct DetailActions {
    QString caption;
    bool install = false;
    bool update = false;
    bool uninstall = false;
    bool operator==(const DetailActions&) const = default;
};

// The status texts of the store, from the planned action; first match wins.
namespace StoreTileStatus {

// Busy, update, install, up to date, then text().
TileStatus tile(const ModuleAction& plan, bool installed, bool busy, AppLanguage language);
// For the remaining plans: the system requirement of incompatibleOS, else
// "Installed" or "Not installed".
QString text(const ModuleAction& plan, bool installed, AppLanguage language);
DetailActions detail(const ModuleAction& plan, bool installed, bool busy, AppLanguage language);

} // namespace StoreTileStatus

} // namespace ovrel
