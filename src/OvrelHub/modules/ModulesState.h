#pragma once

#include "OvrelHub/modules/InstalledModule.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>

namespace ovrel {

// The whole "modules-state.json" document.
struct ModulesState {
    std::map<QString, InstalledModule> installed; // by module id
    bool autoUpdate = true;

    static ModulesState empty() { return {}; }

    bool operator==(const ModulesState&) const = default;

    struct Decoded;

    // Never fails. Anything but a JSON object reads as the empty state. An
    // installed-module object without a usable "id", "version" or "appName"
    // is left out on its own: the other entries and "autoUpdate" still read.
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
    // Keys of the installed-module objects that were left out.
    QStringList droppedIds;
};

} // namespace ovrel
