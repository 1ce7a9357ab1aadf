#pragma once

#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "OvrelModuleKit/settings/SettingValue.h"
#include "Platform/files/FileError.h"

#include <QByteArray>
#include <optional>

namespace ovrel {

// The values of a module's settings in ModuleSettings/<id>.json: one JSON object
// from setting key to bare value, pretty-printed with sorted keys. The hub writes
// it; the module reads it at start and whenever the settings notification for
// its id arrives.
class ModuleSettingsStore {
public:
    // A settings file larger than this is treated as unreadable.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    explicit ModuleSettingsStore(ModulePaths paths) : m_paths(std::move(paths)) {}

    const ModulePaths& paths() const { return m_paths; }

    // An id that is not a valid module id never reaches the file system: it
    // could name a file outside ModuleSettings/.

    // The stored values reconciled with the manifest; the defaults when the file
    // is missing, unreadable or undecodable anywhere. Never fails, never writes.
    SettingsMap load(const QString& id, const ModuleManifest& manifest) const;

    // Writes the whole map atomically, then posts ModuleNotify::settingsName(id).
    // Throws FileError (nothing is posted then).
    void save(const SettingsMap& values, const QString& id) const;

    // Deletes the file; errors, a missing file included, are ignored.
    void remove(const QString& id) const;

    // The file's map; none when it cannot be read or one value cannot be decoded.
    static std::optional<SettingsMap> readFile(const QString& path);
    static std::optional<SettingsMap> decode(const QByteArray& bytes);
    static QByteArray encode(const SettingsMap& values);

private:
    ModulePaths m_paths;
};

} // namespace ovrel
