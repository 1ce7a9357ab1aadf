#include "OvrelHub/runner/BundleStamp.h"

#include "OvrelHub/modules/RegularFileReader.h"
#include "Platform/plist/PlistCodec.h"

#include <QDir>
#include <QFile>
#include <QHashFunctions>
#include <QVariantMap>
#include <dirent.h>
#include <sys/stat.h>

namespace ovrel {

namespace {

constexpr qint64 kMaxInfoPlistBytes = 1024 * 1024;

QString infoPlistPath(const QString& bundle) {
    return bundle + QStringLiteral("/Contents/Info.plist");
}

QString executablesDir(const QString& bundle) {
    return bundle + QStringLiteral("/Contents/MacOS");
}

bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(QLatin1Char('/')) &&
           !name.contains(QChar(0));
}

enum class Declared { absent, valid, invalid };

Declared declaredExecutable(const QString& bundle, QString& name) {
    const RegularFileReader::Result file =
        RegularFileReader::read(infoPlistPath(bundle), kMaxInfoPlistBytes);
    if (file.status != RegularFileReader::Status::read)
        return Declared::absent;
    const std::optional<QVariant> plist = PlistCodec::parse(file.bytes);
    if (!plist || plist->typeId() != QMetaType::QVariantMap)
        return Declared::absent;
    const QVariant value = plist->toMap().value(QStringLiteral("CFBundleExecutable"));
    if (value.typeId() != QMetaType::QString)
        return Declared::absent;
    name = value.toString();
    return isPlainFileName(name) ? Declared::valid : Declared::invalid;
}

// The single regular file (not following links) in the directory, if exactly one.
std::optional<QString> onlyRegularFile(const QString& dir) {
    DIR* handle = ::opendir(QFile::encodeName(dir).constData());
    if (!handle)
        return std::nullopt;
    std::optional<QString> found;
    int count = 0;
    while (const dirent* entry = ::readdir(handle)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat info {};
        const QByteArray full = QFile::encodeName(dir) + '/' + name;
        if (::lstat(full.constData(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (++count > 1)
            break;
        found = QFile::decodeName(name);
    }
    ::closedir(handle);
    if (count != 1)
        return std::nullopt;
    return found;
}

} // namespace

std::optional<QString> BundleStamp::mainExecutable(const QString& bundle) {
    const QString root = QDir::cleanPath(bundle);
    if (root.isEmpty())
        return std::nullopt;
    QString name;
    switch (declaredExecutable(root, name)) {
    case Declared::valid:
        return executablesDir(root) + QLatin1Char('/') + name;
    case Declared::invalid:
        return std::nullopt;
    case Declared::absent:
        break;
    }
    if (const std::optional<QString> only = onlyRegularFile(executablesDir(root)))
        return executablesDir(root) + QLatin1Char('/') + *only;
    return std::nullopt;
}

std::optional<BundleStamp> BundleStamp::of(const QString& bundle) {
    const QString root = QDir::cleanPath(bundle);
    const std::optional<QString> executable = mainExecutable(root);
    if (!executable)
        return std::nullopt;
    const std::optional<FileStamp> executableStamp = FileStamp::of(*executable);
    if (!executableStamp)
        return std::nullopt;
    const std::optional<FileStamp> resources =
        FileStamp::of(root + QStringLiteral("/Contents/_CodeSignature/CodeResources"));
    if (!resources)
        return std::nullopt;
    return BundleStamp{*executableStamp, *resources, FileStamp::of(infoPlistPath(root))};
}

std::size_t BundleStamp::hash() const {
    return qHashMulti(0, executable.hash(), codeResources.hash(), infoPlist.has_value(),
                      infoPlist ? infoPlist->hash() : 0);
}

} // namespace ovrel
