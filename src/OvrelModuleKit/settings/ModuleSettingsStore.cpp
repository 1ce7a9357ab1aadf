#include "OvrelModuleKit/settings/ModuleSettingsStore.h"

#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/json/JsonDecodingError.h"
#include "OvrelModuleKit/json/JsonReader.h"
#include "OvrelModuleKit/json/JsonWriter.h"
#include "OvrelModuleKit/settings/ModuleSettings.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"

#include <QFile>

namespace ovrel {

std::optional<SettingsMap> ModuleSettingsStore::decode(const QByteArray& bytes) {
    const std::optional<JsonValue> json = JsonReader::parse(bytes);
    if (!json || !json->isObject())
        return std::nullopt;
    SettingsMap values;
    try {
        for (const auto& [key, value] : json->toObject())
            values.insert(key, SettingValue::decode(value));
    } catch (const JsonDecodingError&) {
        return std::nullopt;
    }
    return values;
}

QByteArray ModuleSettingsStore::encode(const SettingsMap& values) {
    JsonValue::Object members;
    members.reserve(static_cast<std::size_t>(values.size()));
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        members.emplace_back(it.key(), it->toJson());
    return JsonWriter::pretty(JsonValue::fromObject(std::move(members)));
}

std::optional<SettingsMap> ModuleSettingsStore::readFile(const QString& path) {
    const BoundedFile::ReadResult file = BoundedFile::read(path, kMaxFileSize);
    if (file.status != BoundedFile::ReadResult::Status::ok)
        return std::nullopt;
    return decode(file.bytes);
}

SettingsMap ModuleSettingsStore::load(const QString& id, const ModuleManifest& manifest) const {
    if (!ModulePaths::isValidModuleId(id))
        return ModuleSettings::defaults(manifest);
    const std::optional<SettingsMap> stored = readFile(m_paths.settingsFile(id));
    if (!stored)
        return ModuleSettings::defaults(manifest);
    return ModuleSettings::reconcile(*stored, manifest);
}

void ModuleSettingsStore::save(const SettingsMap& values, const QString& id) const {
    const QString path = m_paths.settingsFile(id);
    if (!ModulePaths::isValidModuleId(id))
        throw FileError(path, QStringLiteral("invalid module id"));
    AtomicFile::makeDirectories(m_paths.settingsDir());
    AtomicFile::write(path, encode(values));
    ModuleNotify::post(ModuleNotify::settingsName(id));
}

void ModuleSettingsStore::remove(const QString& id) const {
    if (!ModulePaths::isValidModuleId(id))
        return;
    QFile::remove(m_paths.settingsFile(id));
}

} // namespace ovrel
