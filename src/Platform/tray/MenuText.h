#pragma once

#include "Platform/tray/StatusMenuModel.h"

#include <QString>

class QMenu;

namespace ovrel {

// The status menu as text, one line per item ("---" for a separator, two spaces
// of indent per submenu level, the key equivalent after a tab). Produced from the
// model and from a rendered Qt menu alike, so the two can be compared.
namespace MenuText {
QString fromModel(const StatusMenuModel& model);
QString fromMenu(const QMenu& menu);
} // namespace MenuText

} // namespace ovrel
