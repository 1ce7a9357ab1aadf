#include "Platform/bundle/ApplicationBundle.h"

#include "Platform/files/BoundedFile.h"
#include "Platform/plist/PlistCodec.h"
#include "Platform/process/WorkspaceError.h"

#include <QDir>
#include <QFile>
#include <QVariantMap>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace ovrel {

namespace {

using Kind = WorkspaceError::Kind;

QVariantMap readInfo(const QString& plistPath) {
    const auto file = BoundedFile::read(plistPath, ApplicationBundle::kMaxInfoPlistBytes);
    if (file.status == BoundedFile::ReadResult::Status::tooLarge)
        throw WorkspaceError(Kind::infoPlistUnreadable, plistPath, QStringLiteral("too large"));
    if (file.status != BoundedFile::ReadResult::Status::ok)
        throw WorkspaceError(Kind::infoPlistUnreadable, plistPath);
    const auto value = PlistCodec::parse(file.bytes);
    if (!value || value->typeId() != QMetaType::QVariantMap)
        throw WorkspaceError(Kind::infoPlistUnreadable, plistPath,
                             QStringLiteral("not a property list dictionary"));
    return value->toMap();
}

// A name inside Contents/MacOS, never a way out of it.
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
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
    const QVariantMap info = readInfo(bundle.path + QStringLiteral("/Contents/Info.plist"));

    const QVariant identifier = info.value(QStringLiteral("CFBundleIdentifier"));
    if (identifier.typeId() == QMetaType::QString)
        bundle.bundleIdentifier = identifier.toString();

    const QVariant executable = info.value(QStringLiteral("CFBundleExecutable"));
    const QString name =
        executable.typeId() == QMetaType::QString ? executable.toString() : QString();
    if (!isPlainFileName(name))
        throw WorkspaceError(Kind::executableNotDeclared,
                             bundle.path + QStringLiteral("/Contents/Info.plist"), name);
    bundle.executablePath = bundle.path + QStringLiteral("/Contents/MacOS/") + name;
    checkRunnable(bundle.executablePath);
    return bundle;
}

} // namespace ovrel
