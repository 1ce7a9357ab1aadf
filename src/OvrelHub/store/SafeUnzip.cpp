#include "OvrelHub/store/SafeUnzip.h"

#include "OvrelHub/store/FileTree.h"
#include "OvrelHub/store/UnzipError.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/LinkScan.h"

#include <QDir>
#include <QFileInfo>

namespace ovrel {

QString SafeUnzip::extract(const QString& zip, const QString& destination,
                           const ZipArchive::Limits& limits) {
    for (const QString& name : listEntries(zip, limits)) {
        if (!isSafeEntryPath(name))
            throw UnzipError::unsafeEntry(name);
    }
    emptyDestination(destination);
    try {
        ZipArchive::extract(zip, destination, limits);
    } catch (const ZipArchiveError&) {
        throw UnzipError::extractFailed();
    }
    rejectEscapingSymlinks(destination);
    return singleAppBundle(destination);
}

bool SafeUnzip::isSafeEntryPath(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QChar(0)))
        return false;
    const QStringList pieces = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (pieces.isEmpty())
        return false;
    int depth = 0;
    for (const QString& piece : pieces) {
        if (piece == QLatin1String("."))
            continue;
        depth += piece == QLatin1String("..") ? -1 : 1;
        if (depth < 0)
            return false;
    }
    return depth != 0;
}

QStringList SafeUnzip::listEntries(const QString& zip, const ZipArchive::Limits& limits) {
    QList<QByteArray> raw;
    try {
        raw = ZipArchive::entryNames(zip, limits);
    } catch (const ZipArchiveError& error) {
        if (error.kind() == ZipArchiveError::Kind::limitExceeded)
            throw UnzipError::extractFailed();
        throw UnzipError::listFailed();
    }
    QStringList names;
    names.reserve(raw.size());
    for (const QByteArray& name : raw)
        names.append(QString::fromUtf8(name));
    return names;
}

void SafeUnzip::emptyDestination(const QString& destination) {
    if (FileTree::exists(destination) && !FileTree::remove(destination))
        throw UnzipError::destinationNotEmpty();
    AtomicFile::makeDirectories(destination, 0700);
    const QDir directory(destination);
    if (!directory.exists() ||
        !directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
             .isEmpty())
        throw UnzipError::destinationNotEmpty();
}

void SafeUnzip::rejectEscapingSymlinks(const QString& root) {
    const LinkScan scan = LinkScan::of(root);
    if (scan.unexamined)
        throw UnzipError::escapingSymlink(*scan.unexamined);
    for (const LinkScan::Link& link : scan.links) {
        const QString linkDir = QFileInfo(root + QLatin1Char('/') + link.path).path();
        if (!resolvesInside(root, linkDir, link.target) || !scan.staysInside(link))
            throw UnzipError::escapingSymlink(QFileInfo(link.path).fileName());
    }
}

bool SafeUnzip::resolvesInside(const QString& root, const QString& linkDir, const QString& target) {
    if (target.startsWith(QLatin1Char('/')) || target.startsWith(QLatin1Char('~')))
        return false;
    const QString resolved = QDir::cleanPath(linkDir + QLatin1Char('/') + target);
    const QString base = QDir::cleanPath(root);
    return resolved == base || resolved.startsWith(base + QLatin1Char('/'));
}

QString SafeUnzip::singleAppBundle(const QString& destination) {
    const QFileInfoList items =
        QDir(destination)
            .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QFileInfoList bundles;
    for (const QFileInfo& item : items) {
        if (item.suffix().toLower() == QLatin1String("app"))
            bundles.append(item);
    }
    if (bundles.isEmpty())
        throw UnzipError::noAppBundle();
    if (bundles.size() > 1)
        throw UnzipError::multipleAppBundles();
    // A link or a file named like a bundle is no bundle.
    if (bundles.first().isSymLink() || !bundles.first().isDir())
        throw UnzipError::noAppBundle();
    return bundles.first().absoluteFilePath();
}

} // namespace ovrel
