#pragma once

#include "OvrelHub/modules/InstalledModule.h"

#include <QByteArray>
#include <QString>
#include <map>

namespace ovrel {

// The whole "modules-state.json" document.
struct ModulesState {
    std::map<QString, InstalledModule> installed; // by module id
    bool autoUpdate = true;

    static ModulesState empty() { return {}; }

    bool operator==(const ModulesState&) const = default;

    struct Decoded;

    // Never fails. Anything but a JSON object reads as the empty state. One
    // installed-module object without a usable "id", "version" or "appName"
    // empties the whole "installed" map, while "autoUpdate" is still read on its own.
    static Decoded decode(const QByteArray& bytes);

    // Pretty-printed, keys in ascending order at every level.
    QByteArray encode() const;
};

struct ModulesState::Decoded {
    ModulesState state;
    // False when the bytes held something that could not be read and that
    // writing `state` back would therefore destroy: not a JSON object, an
    // "installed" member that failed, or a field of the wrong type. Missing
    // fields, nulls and unknown keys lose nothing.
    bool intact = true;
};

} // namespace ovrel
