#pragma once

#include "OvrelConfig/Hotkey.h"
#include "OvrelConfig/ModuleHotkeyConflict.h"
#include "OvrelModuleKit/manifest/MenuEntry.h"

#include <QList>
#include <set>
#include <vector>

namespace ovrel {

// Decisions the store makes around installs.
class StoreModel {
public:
    // The module's shortcuts after an install or update: the current ones, plus
    // each manifest default that the user never cleared and nobody else holds.
    static CommandHotkeys
    defaultHotkeyAssignment(const QString& moduleId, const QList<MenuEntry>& menu,
                            CommandHotkeys current, const std::set<QString>& cleared,
                            const ModuleHotkeyConflict::ModuleHotkeys& othersHotkeys,
                            const std::vector<Hotkey>& reserved);
};

} // namespace ovrel
