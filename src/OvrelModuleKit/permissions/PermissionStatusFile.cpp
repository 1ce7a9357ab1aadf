#include "OvrelModuleKit/permissions/PermissionStatusFile.h"

#include "OvrelModuleKit/json/JsonFieldReader.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"
#include "Platform/files/FileError.h"
#include "Platform/system/UnixTime.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel::PermissionStatusFile {

namespace {

// The file as stored; only a file with all three keys of the right types decodes.
struct RawFile {
    double version = 0;
    std::map<QString, QString> statuses;
    double writtenAt = 0;
};

std::optional<RawFile> decode(const QByteArray& bytes) {
    const std::optional<JsonValue> object = JsonFieldReader::parseObject(bytes);
    if (!object)
        return std::nullopt;
    const auto version = JsonFieldReader::number(*object, u"version");
    const auto statuses = JsonFieldReader::object(*object, u"statuses");
    const auto writtenAt = JsonFieldReader::number(*object, u"writtenAt");
    if (!version.isPresent() || !statuses.isPresent() || !writtenAt.isPresent())
        return std::nullopt;
    RawFile raw{version.value, {}, writtenAt.value};
    for (const auto& [kind, status] : *statuses.value) {
        if (!status.isString())
            return std::nullopt;
        raw.statuses.insert_or_assign(kind, status.toString());
    }
    return raw;
}

// The stored file if it is one of the current version.
std::optional<RawFile> readCurrent(const ModulePaths& paths, const QString& id) {
    if (!ModulePaths::isValidModuleId(id))
        return std::nullopt;
    const auto file = BoundedFile::read(paths.permissionsFile(id), kMaxFileBytes);
    if (file.status != BoundedFile::ReadResult::Status::ok)
        return std::nullopt;
    auto raw = decode(file.bytes);
    if (!raw || raw->version != currentVersion)
        return std::nullopt;
    return raw;
}

} // namespace

void write(const Statuses& statuses, const ModulePaths& paths, const QString& id, TimePoint at) {
    if (!ModulePaths::isValidModuleId(id))
        throw FileError(paths.permissionsFile(id), QStringLiteral("invalid module id"));
    QJsonObject entries;
    for (const auto& [kind, status] : statuses)
        entries.insert(rawValue(kind), rawValue(status));
    QJsonObject object;
    object.insert(QLatin1String("version"), currentVersion);
    object.insert(QLatin1String("statuses"), entries);
    object.insert(QLatin1String("writtenAt"), UnixTime::toSeconds(at));
    AtomicFile::write(paths.permissionsFile(id),
                      QJsonDocument(object).toJson(QJsonDocument::Compact));
}

Statuses read(const ModulePaths& paths, const QString& id,
              const std::vector<PermissionKind>& declared) {
    const auto raw = readCurrent(paths, id);
    Statuses result;
    for (const PermissionKind kind : declared) {
        std::optional<PermissionStatus> status;
        if (raw) {
            const auto stored = raw->statuses.find(rawValue(kind));
            if (stored != raw->statuses.end())
                status = permissionStatusFromRawValue(stored->second);
        }
        result[kind] = status.value_or(PermissionStatus::undetermined);
    }
    return result;
}

std::optional<TimePoint> writtenAt(const ModulePaths& paths, const QString& id) {
    const auto raw = readCurrent(paths, id);
    return raw ? UnixTime::fromSeconds(raw->writtenAt) : std::nullopt;
}

} // namespace ovrel::PermissionStatusFile
