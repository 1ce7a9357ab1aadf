#pragma once

#include "OvrelConfig/Hotkey.h"
#include "OvrelConfig/HotkeyHolder.h"

#include <QString>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace ovrel {

// Manifest defaults and the uniqueness of key combinations across modules.
class ModuleHotkeyConflict {
public:
    // Every module's shortcuts: module id -> command -> hotkey.
    using ModuleHotkeys = std::map<QString, CommandHotkeys>;
    // (module id, command).
    using CommandRef = std::pair<QString, QString>;

    // The key names a manifest default may use, with their key codes: letters
    // and space, return, tab, escape. Digits, punctuation and function keys
    // cannot be named.
    static const std::map<QString, qint64>& keycodes();

    // Parses a default such as "Cmd+Shift+K": case-insensitive, "+"-separated,
    // the key last, at least one modifier before it. Modifier names: cmd,
    // command, shift, opt, option, alt, ctrl, control (a repeat is harmless).
    // Anything else gives none.
    static std::optional<Hotkey> defaultHotkey(const std::optional<QString>& text);

    // The reserved list first (the hub holds those), then module ids and their
    // commands in ascending order; `excluding` skips only that exact pair.
    static std::optional<HotkeyHolder> holder(const Hotkey& hotkey,
                                              const std::vector<Hotkey>& reserved,
                                              const ModuleHotkeys& moduleHotkeys,
                                              const std::optional<CommandRef>& excluding);

    static bool isTaken(const Hotkey& hotkey, const std::vector<Hotkey>& reserved,
                        const ModuleHotkeys& moduleHotkeys,
                        const std::optional<CommandRef>& excluding);
};

} // namespace ovrel
