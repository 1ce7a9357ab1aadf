#include "OvrelHub/shell/OtherBuildGuard.h"

#include "Platform/files/XdgDirs.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace ovrel {

QString OtherBuildGuard::resolvedPath(const QString& path) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    const QString canonical = QFileInfo(clean).canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // Resolve the part that exists so a link to the Trash is still seen as the Trash.
    const QFileInfo info(clean);
    const QString parent = info.path();
    if (parent == clean)
        return clean;
    return QDir::cleanPath(resolvedPath(parent) + QLatin1Char('/') + info.fileName());
}

bool OtherBuildGuard::isInTrash(const QString& path, const QStringList& trashDirs) {
    const QStringList components = resolvedPath(path).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& trash : trashDirs) {
        const QStringList trashComponents =
            resolvedPath(trash).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (trashComponents.size() >= components.size())
            continue;
        if (std::equal(trashComponents.cbegin(), trashComponents.cend(), components.cbegin()))
            return true;
    }
    return false;
}

bool OtherBuildGuard::isEffectivelyUninstalled(const QString& path, const QStringList& trashDirs,
                                               bool onReadOnlyVolume, bool selfOnReadOnlyVolume) {
    if (onReadOnlyVolume && !selfOnReadOnlyVolume)
        return true;
    return isInTrash(path, trashDirs);
}

bool OtherBuildGuard::isOnReadOnlyVolume(const QString& path) {
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return (info.f_flag & ST_RDONLY) != 0;
}

namespace {

// The mount point of the file system holding `path`: the last ancestor on the same device.
QString mountPoint(const QString& path) {
    struct stat st {};
    QString current = OtherBuildGuard::resolvedPath(path);
    while (::stat(QFile::encodeName(current).constData(), &st) != 0) {
        const QString parent = QFileInfo(current).path();
        if (parent == current)
            return {};
        current = parent;
    }
    const dev_t device = st.st_dev;
    for (;;) {
        const QString parent = QFileInfo(current).path();
        if (parent == current)
            return current;
        if (::stat(QFile::encodeName(parent).constData(), &st) != 0 || st.st_dev != device)
            return current;
        current = parent;
    }
}

} // namespace

QStringList OtherBuildGuard::trashDirectoriesFor(const QString& path) {
    return trashDirectoriesFor(path, XdgDirs::dataHome() + QStringLiteral("/Trash"));
}

QStringList OtherBuildGuard::trashDirectoriesFor(const QString& path, const QString& homeTrash) {
    QStringList candidates{homeTrash};
    const QString top = mountPoint(path);
    if (!top.isEmpty()) {
        const QString uid = QString::number(::getuid());
        const QString base = top == QLatin1String("/") ? QString() : top;
        candidates << base + QStringLiteral("/.Trash/") + uid
                   << base + QStringLiteral("/.Trash-") + uid;
    }
    QStringList out;
    QStringList seen;
    for (const QString& candidate : candidates) {
        const QString key = resolvedPath(candidate);
        if (seen.contains(key))
            continue;
        seen.append(key);
        out.append(candidate);
    }
    return out;
}

OtherBuildGuard::Decision OtherBuildGuard::decideForRealSystem(
    const QString& otherBundleID, const Locate& locate, const QString& selfPath,
    const IsReadOnlyVolume& isReadOnlyVolume, const TrashDirectories& trashDirectories) {
    const std::optional<QString> location = locate(otherBundleID);
    if (!location || location->isEmpty())
        return Decision::proceed();
    if (!QFileInfo::exists(*location))
        return Decision::proceed();
    const QStringList trash = trashDirectories(*location);
    if (isEffectivelyUninstalled(*location, trash, isReadOnlyVolume(*location),
                                 isReadOnlyVolume(selfPath)))
        return Decision::proceed();
    return Decision::block(*location);
}

OtherBuildGuard::Decision
OtherBuildGuard::decide(const Locate& locate, const QString& otherBundleID, const Exists& exists) {
    const std::optional<QString> location = locate(otherBundleID);
    if (location && exists(*location))
        return Decision::block(*location);
    return Decision::proceed();
}

} // namespace ovrel
