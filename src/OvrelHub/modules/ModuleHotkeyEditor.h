#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/Hotkey.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace ovrel {

class ModuleStateStore;
class NotificationCenter;

// Stores and clears the shortcuts the user records for module commands,
// refusing a combination that another command or the edition already uses.
class ModuleHotkeyEditor {
public:
    struct Decision {
        bool accepted = false;
        QString message; // why it was refused, in the interface language
    };
    using ManifestLookup = std::function<std::optional<ModuleManifest>(const QString& moduleId)>;
    using ReservedHotkeys = std::function<std::vector<Hotkey>()>;

    ModuleHotkeyEditor(ModuleStateStore& state, NotificationCenter& center,
                       ManifestLookup manifestFor, ReservedHotkeys reserved);

    // Refused for a module that has no state entry (nothing could be stored).
    Decision record(const QString& moduleId, const QString& command, const Hotkey& hotkey,
                    AppLanguage language);
    // Announces a change only when a module's entry was changed.
    void remove(const QString& moduleId, const QString& command);

private:
    QString holderName(const QString& moduleId, const QString& holderModule,
                       const QString& holderCommand, AppLanguage language) const;

    ModuleStateStore& m_state;
    NotificationCenter& m_center;
    ManifestLookup m_manifestFor;
    ReservedHotkeys m_reserved;
};

} // namespace ovrel
