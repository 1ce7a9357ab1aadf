#include "OvrelHub/account/SyncStateStore.h"

#include "OvrelModuleKit/json/JsonReader.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"
#include "Platform/plist/UserDefaults.h"
#include "Platform/system/SystemLog.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel {

namespace {

std::optional<bool> boolMember(const JsonValue& object, QStringView name) {
    const JsonValue* value = object.member(name);
    if (!value || !value->isBool())
        return std::nullopt;
    return value->toBool();
}

} // namespace

SyncStateStore::SyncStateStore(QString file) : m_file(std::move(file)) {
    const BoundedFile::ReadResult read = BoundedFile::read(m_file, kMaxFileBytes);
    if (read.status == BoundedFile::ReadResult::Status::ok) {
        if (auto state = decode(read.bytes))
            m_state = std::move(*state);
    }
}

SyncStateStore& SyncStateStore::shared() {
    static SyncStateStore store(ModulePaths::defaultPaths().syncStateFile());
    return store;
}

std::optional<SyncStateStore::State> SyncStateStore::decode(const QByteArray& bytes) {
    const std::optional<JsonValue> root = JsonReader::parse(bytes);
    if (!root || !root->isObject())
        return std::nullopt;
    const auto syncEnabled = boolMember(*root, u"syncEnabled");
    const auto shared = boolMember(*root, u"sharedAcrossPlatforms");
    const JsonValue* streams = root->member(u"streams");
    if (!syncEnabled || !shared || !streams || !streams->isObject())
        return std::nullopt;
    State state{*syncEnabled, *shared, {}};
    for (const auto& [key, value] : streams->toObject()) {
        if (!value.isObject())
            return std::nullopt;
        const JsonValue* version = value.member(u"version");
        const auto dirty = boolMember(value, u"dirty");
        const std::optional<qint64> number = version ? version->toInteger() : std::nullopt;
        if (!number || !dirty)
            return std::nullopt;
        state.streams.insert(key, Entry{*number, *dirty});
    }
    return state;
}

QByteArray SyncStateStore::encode(const State& state) {
    QJsonObject streams;
    for (auto it = state.streams.cbegin(); it != state.streams.cend(); ++it) {
        streams.insert(it.key(), QJsonObject{{QStringLiteral("version"), it->version},
                                             {QStringLiteral("dirty"), it->dirty}});
    }
    const QJsonObject root{{QStringLiteral("syncEnabled"), state.syncEnabled},
                           {QStringLiteral("sharedAcrossPlatforms"), state.sharedAcrossPlatforms},
                           {QStringLiteral("streams"), streams}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool SyncStateStore::save() {
    try {
        AtomicFile::write(m_file, encode(m_state));
        return true;
    } catch (const FileError&) {
        return false;
    }
}

qint64 SyncStateStore::version(const QString& key) const {
    return m_state.streams.value(key).version;
}

bool SyncStateStore::isDirty(const QString& key) const {
    return m_state.streams.value(key).dirty;
}

void SyncStateStore::setVersion(const QString& key, qint64 version) {
    m_state.streams[key].version = version;
    save();
}

void SyncStateStore::setDirty(const QString& key, bool dirty) {
    m_state.streams[key].dirty = dirty;
    save();
}

void SyncStateStore::setEntry(const QString& key, Entry entry) {
    m_state.streams[key] = entry;
    save();
}

void SyncStateStore::setSyncEnabled(bool enabled) {
    m_state.syncEnabled = enabled;
    save();
}

void SyncStateStore::setSharedAcrossPlatforms(bool shared) {
    m_state.sharedAcrossPlatforms = shared;
    save();
}

void SyncStateStore::migrateIfNeeded(UserDefaults& defaults, const QStringList& canonicalKeys) {
    if (QFileInfo::exists(m_file))
        return;
    const auto versionKey = [](const QString& name) {
        return QStringLiteral("sync.") + name + QStringLiteral(".version");
    };
    const auto dirtyKey = [](const QString& name) {
        return QStringLiteral("sync.") + name + QStringLiteral(".dirty");
    };
    State migrated;
    for (const QString& name : canonicalKeys) {
        const qint64 version = defaults.integer(versionKey(name)).value_or(0);
        const bool dirty = defaults.boolValue(dirtyKey(name)).value_or(false);
        if (version != 0 || dirty)
            migrated.streams.insert(name, Entry{version, dirty});
    }
    // Only a stored Boolean counts; "false" as text does not switch sync off.
    const std::optional<QVariant> enabled = defaults.object(QStringLiteral("syncEnabled"));
    migrated.syncEnabled =
        enabled && enabled->typeId() == QMetaType::Bool ? enabled->toBool() : true;
    m_state = migrated;
    if (!save() || !QFileInfo::exists(m_file))
        return;
    try {
        for (const QString& name : canonicalKeys) {
            defaults.remove(versionKey(name));
            defaults.remove(dirtyKey(name));
        }
        defaults.remove(QStringLiteral("syncEnabled"));
    } catch (const FileError& e) {
        SystemLog::write(QStringLiteral("Ovrel: không xoá được khoá đồng bộ cũ: ") +
                         e.description());
    }
}

} // namespace ovrel
