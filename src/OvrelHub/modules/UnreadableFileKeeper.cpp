#include "OvrelHub/modules/UnreadableFileKeeper.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace ovrel {

namespace {

constexpr int kMaxAttempts = 100;

bool hardLinksUnsupported(int error) {
    return error == EPERM || error == EXDEV || error == EOPNOTSUPP || error == EMLINK ||
           error == ENOSYS;
}

} // namespace

QString UnreadableFileKeeper::keepAside(const QString& path, const QDateTime& now) {
    const QString base = path + QStringLiteral(".unreadable-") +
                         now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QByteArray source = QFile::encodeName(path);
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        const QString candidate =
            attempt == 1 ? base : base + QLatin1Char('-') + QString::number(attempt);
        const QByteArray target = QFile::encodeName(candidate);
        if (::link(source.constData(), target.constData()) == 0)
            return candidate;
        const int error = errno;
        if (error == EEXIST)
            continue;
        if (!hardLinksUnsupported(error))
            throw FileError(path, QString::fromLocal8Bit(std::strerror(error)));
        if (QFileInfo::exists(candidate))
            continue;
        QFile file(path);
        if (file.copy(candidate))
            return candidate;
        throw FileError(path, file.errorString());
    }
    throw FileError(path, QStringLiteral("no free name beside it"));
}

} // namespace ovrel
