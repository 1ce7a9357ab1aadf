#include "OvrelHub/store/CatalogInstall.h"

#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/InstallError.h"
#include "OvrelHub/store/SafeUnzip.h"
#include "Platform/crypto/Crypto.h"
#include "Platform/files/FileError.h"

#include <QFile>
#include <QScopeGuard>

namespace ovrel::CatalogInstall {

ModuleManifest finish(const CatalogRelease& release, const DownloadedArchive& archive,
                      const QString& workDirectory, const Completion& complete,
                      const StepObserver& observer) {
    const auto cleanUp = qScopeGuard([&] {
        QFile::remove(archive.path);
        FileTree::remove(workDirectory);
    });
    const auto begin = [&](Step step) {
        if (observer)
            observer(step);
    };
    begin(Step::checkingArchive);
    const QString actual = archive.sha256 ? archive.sha256->toLower() : sha256(archive.path);
    const QString expected = release.sha256.toLower();
    if (actual != expected)
        throw InstallError::checksumMismatch(expected, actual);
    QString bundle;
    begin(Step::unpacking);
    try {
        bundle = SafeUnzip::extract(archive.path, workDirectory);
    } catch (const UnzipError& error) {
        throw InstallError::unzip(error);
    }
    begin(Step::completing);
    return complete(bundle);
}

QString sha256(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(path, file.errorString());
    Crypto::Sha256 digest;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 read = file.read(chunk.data(), chunk.size());
        if (read < 0)
            throw FileError(path, file.errorString());
        if (read == 0)
            break;
        digest.update(QByteArrayView(chunk.constData(), read));
    }
    return QString::fromLatin1(digest.finish().toHex());
}

} // namespace ovrel::CatalogInstall
