#include "OvrelHub/modules/ModuleHotkeyEditor.h"

#include "OvrelConfig/Loc.h"
#include "OvrelConfig/ModuleHotkeyConflict.h"
#include "OvrelHub/menu/ModuleMenuBuilder.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "Platform/notify/NotificationCenter.h"

namespace ovrel {

ModuleHotkeyEditor::ModuleHotkeyEditor(ModuleStateStore& state, NotificationCenter& center,
                                       ManifestLookup manifestFor, ReservedHotkeys reserved)
    : m_state(state), m_center(center), m_manifestFor(std::move(manifestFor)),
      m_reserved(std::move(reserved)) {}

QString ModuleHotkeyEditor::holderName(const QString& moduleId, const QString& holderModule,
                                       const QString& holderCommand, AppLanguage language) const {
    const auto manifest = m_manifestFor ? m_manifestFor(holderModule) : std::nullopt;
    if (!manifest)
        return {};
    if (holderModule != moduleId)
        return localizedText(manifest->name(), language);
    for (const MenuEntry& entry : manifest->menu()) {
        if (entry.command == holderCommand)
            return localizedText(entry.label, language);
    }
    return {};
}

ModuleHotkeyEditor::Decision ModuleHotkeyEditor::record(const QString& moduleId,
                                                        const QString& command,
                                                        const Hotkey& hotkey,
                                                        AppLanguage language) {
    const std::vector<Hotkey> reserved = m_reserved ? m_reserved() : std::vector<Hotkey>{};
    // The check and the write happen under one hold of the lock, so two
    // recordings cannot both take the same combination.
    struct Outcome {
        bool installed = true;
        std::optional<HotkeyHolder> holder;
    };
    const Outcome outcome = m_state.withLock([&](const ModuleStateStore::Locked& locked) {
        ModulesState state = locked.read();
        auto entry = state.installed.find(moduleId);
        // Nothing would be stored: saying "accepted" would be a lie.
        if (entry == state.installed.end())
            return Outcome{false, std::nullopt};
        ModuleHotkeyConflict::ModuleHotkeys everyone;
        for (const auto& [id, module] : state.installed)
            everyone[id] = module.hotkeys;
        auto found = ModuleHotkeyConflict::holder(
            hotkey, reserved, everyone, ModuleHotkeyConflict::CommandRef{moduleId, command});
        if (found)
            return Outcome{true, found};
        entry->second.hotkeys[command] = hotkey;
        entry->second.clearedHotkeys.erase(command);
        locked.writeLocked(state);
        return Outcome{true, std::nullopt};
    });
    if (!outcome.installed)
        return {false, Loc::t(LocKey::appsNotInstalled, language)};
    const std::optional<HotkeyHolder>& holder = outcome.holder;
    if (!holder) {
        m_center.post(QString::fromLatin1(ovrelModulesChanged));
        return {true, {}};
    }
    const QString name = holder->kind() == HotkeyHolder::Kind::module
                             ? holderName(moduleId, holder->moduleId(), holder->command(), language)
                             : QString();
    if (name.isEmpty())
        return {false, Loc::t(LocKey::appsHotkeyTaken, language)};
    return {false, Loc::format(LocKey::appsHotkeyTakenByFormat, language, {name})};
}

void ModuleHotkeyEditor::remove(const QString& moduleId, const QString& command) {
    const bool removed = m_state.withLock([&](const ModuleStateStore::Locked& locked) {
        ModulesState state = locked.read();
        auto entry = state.installed.find(moduleId);
        if (entry == state.installed.end())
            return false;
        entry->second.hotkeys.erase(command);
        entry->second.clearedHotkeys.insert(command);
        locked.writeLocked(state);
        return true;
    });
    if (removed)
        m_center.post(QString::fromLatin1(ovrelModulesChanged));
}

} // namespace ovrel
