#include "OvrelHub/store/PendingInstall.h"

#include "OvrelHub/modules/AppName.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel {

namespace {

const QString kSuffix = QStringLiteral(".pending.json");
constexpr qint64 kMaxBytes = 64 * 1024;

std::optional<PendingInstall> decode(const QByteArray& bytes, const QString& id) {
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    PendingInstall pending;
    pending.id = id;
    pending.appName = object.value(QStringLiteral("appName")).toString();
    pending.version = object.value(QStringLiteral("version")).toString();
    pending.quickAccessDefault = object.value(QStringLiteral("quickAccessDefault")).toBool();
    if (!AppName::isValid(pending.appName) || pending.version.isEmpty())
        return std::nullopt;
    return pending;
}

} // namespace

void PendingInstall::applyTo(ModulesState& state) const {
    InstalledModule entry;
    if (const auto previous = state.installed.find(id); previous != state.installed.end()) {
        // An update keeps every choice the user made.
        entry = previous->second;
    } else {
        entry.residentEnabled = true;
        entry.quickAccessEnabled = quickAccessDefault;
    }
    entry.id = id;
    entry.version = version;
    entry.appName = appName;
    state.installed.insert_or_assign(id, std::move(entry));
}

void PendingInstall::write(const ModulePaths& paths) const {
    const QJsonObject object{{QStringLiteral("appName"), appName},
                             {QStringLiteral("version"), version},
                             {QStringLiteral("quickAccessDefault"), quickAccessDefault}};
    AtomicFile::write(path(paths, id), QJsonDocument(object).toJson(QJsonDocument::Compact),
                      {.fileMode = 0600, .directoryMode = 0700});
}

void PendingInstall::remove(const ModulePaths& paths, const QString& id) {
    QFile::remove(path(paths, id));
}

std::vector<PendingInstall> PendingInstall::readAll(const ModulePaths& paths) {
    std::vector<PendingInstall> found;
    const QStringList names =
        QDir(paths.stagingDir())
            .entryList({QStringLiteral("*") + kSuffix}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QString id = name.chopped(kSuffix.size());
        const BoundedFile::ReadResult file = BoundedFile::read(path(paths, id), kMaxBytes);
        std::optional<PendingInstall> pending;
        if (ModulePaths::isValidModuleId(id) && file.status == BoundedFile::ReadResult::Status::ok)
            pending = decode(file.bytes, id);
        if (pending)
            found.push_back(std::move(*pending));
        else
            remove(paths, id);
    }
    return found;
}

QString PendingInstall::path(const ModulePaths& paths, const QString& id) {
    return paths.stagingDir() + QLatin1Char('/') + id + kSuffix;
}

} // namespace ovrel
