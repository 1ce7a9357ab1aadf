#include "OvrelHub/store/StoreModel.h"

namespace ovrel {

CommandHotkeys
StoreModel::defaultHotkeyAssignment(const QString& moduleId, const QList<MenuEntry>& menu,
                                    CommandHotkeys current, const std::set<QString>& cleared,
                                    const ModuleHotkeyConflict::ModuleHotkeys& othersHotkeys,
                                    const std::vector<Hotkey>& reserved) {
    for (const MenuEntry& entry : menu) {
        if (current.count(entry.command) || cleared.count(entry.command))
            continue;
        const auto hotkey = ModuleHotkeyConflict::defaultHotkey(entry.hotkeyDefault);
        if (!hotkey)
            continue;
        ModuleHotkeyConflict::ModuleHotkeys everyone = othersHotkeys;
        everyone[moduleId] = current;
        if (!ModuleHotkeyConflict::isTaken(*hotkey, reserved, everyone, std::nullopt))
            current[entry.command] = *hotkey;
    }
    return current;
}

} // namespace ovrel
