#pragma once

#include "OvrelConfig/Hotkey.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>
#include <set>

namespace ovrel {

// What the hub keeps about one installed module outside its bundle. The
// defaults are those of a first install and of fields missing from the file.
struct InstalledModule {
    QString id;
    QString version;
    QString appName; // bundle directory name with ".app", as delivered
    bool shortcutEnabled = false;
    CommandHotkeys hotkeys;
    std::set<QString> clearedHotkeys; // commands whose default shortcut the user removed
    std::optional<QString> shortcutLinkName;
    bool residentEnabled = true;
    bool quickAccessEnabled = false;

    bool operator==(const InstalledModule&) const = default;

    // Decodes one installed-module object. "id", "version" and "appName" must be
    // strings, else none. Every other field is read on its own: missing or null
    // gives its default, and so does a wrong type (a single malformed hotkey
    // empties "hotkeys"), which also clears `*intact` to tell the caller that
    // something present in the file was dropped.
    static std::optional<InstalledModule> fromJson(const QJsonValue& value, bool* intact = nullptr);
    // "shortcutLinkName" is left out when there is none.
    QJsonObject toJson() const;
};

} // namespace ovrel
