#include "Platform/bundle/ApplicationBundle.h"

#include "Platform/bundle/BundleInfo.h"
#include "Platform/files/BoundedFile.h"
#include "Platform/process/WorkspaceError.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace ovrel {

namespace {

using Kind = WorkspaceError::Kind;

BundleInfo readInfo(const QString& plistPath) {
    const auto file = BoundedFile::read(plistPath, BundleInfo::kMaxBytes);
    if (file.status == BoundedFile::ReadResult::Status::tooLarge)
        throw WorkspaceError(Kind::infoPlistUnreadable, plistPath, QStringLiteral("too large"));
    if (file.status != BoundedFile::ReadResult::Status::ok)
        throw WorkspaceError(Kind::infoPlistUnreadable, plistPath);
    std::optional<BundleInfo> info = BundleInfo::parseDeclared(file.bytes);
    if (!info)
        throw WorkspaceError(Kind::infoPlistUnreadable, plistPath,
                             QStringLiteral("not a property list dictionary"));
    if (!info->hasUsableExecutable())
        throw WorkspaceError(Kind::executableNotDeclared, plistPath, info->executable);
    return *info;
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

void checkRunnable(const QString& executablePath) {
    const QByteArray path = QFile::encodeName(executablePath);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        const int error = errno;
        throw WorkspaceError(error == ENOENT || error == ENOTDIR ? Kind::executableMissing
                                                                 : Kind::executableNotRunnable,
                             executablePath, systemReason(error));
    }
    if (!S_ISREG(st.st_mode))
        throw WorkspaceError(Kind::executableNotRunnable, executablePath,
                             QStringLiteral("not a regular file"));
    if (::access(path.constData(), X_OK) != 0)
        throw WorkspaceError(Kind::executableNotRunnable, executablePath, systemReason(errno));
}

} // namespace

ApplicationBundle ApplicationBundle::load(const QString& bundlePath) {
    ApplicationBundle bundle;
    bundle.path = QDir::cleanPath(QDir(bundlePath).absolutePath());
    const BundleInfo info = readInfo(bundle.path + QStringLiteral("/Contents/Info.plist"));
    bundle.bundleIdentifier = info.identifier;
    bundle.executablePath = bundle.path + QLatin1Char('/') + info.executablePath();
    checkRunnable(bundle.executablePath);
    return bundle;
}

} // namespace ovrel
