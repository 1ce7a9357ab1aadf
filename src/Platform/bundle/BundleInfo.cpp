#include "Platform/bundle/BundleInfo.h"

#include "Platform/codesign/BundleLayout.h"
#include "Platform/files/BoundedFile.h"
#include "Platform/plist/PlistCodec.h"

#include <QVariantMap>

namespace ovrel {

std::optional<BundleInfo> BundleInfo::parse(const QByteArray& plist) {
    std::optional<BundleInfo> info = parseDeclared(plist);
    if (!info || !info->hasUsableExecutable())
        return std::nullopt;
    return info;
}

std::optional<BundleInfo> BundleInfo::parseDeclared(const QByteArray& plist) {
    const auto root = PlistCodec::parse(plist);
    if (!root || root->metaType().id() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap map = root->toMap();
    BundleInfo info;
    const QVariant executable = map.value(QStringLiteral("CFBundleExecutable"));
    if (executable.metaType().id() == QMetaType::QString)
        info.executable = executable.toString();
    const QVariant identifier = map.value(QStringLiteral("CFBundleIdentifier"));
    if (identifier.metaType().id() == QMetaType::QString)
        info.identifier = identifier.toString();
    const QVariant icon = map.value(QStringLiteral("CFBundleIconFile"));
    if (icon.metaType().id() == QMetaType::QString && isPlainFileName(icon.toString()))
        info.iconFile = icon.toString();
    return info;
}

std::optional<BundleInfo> BundleInfo::read(const QString& bundlePath) {
    const auto file =
        BoundedFile::read(bundlePath + QStringLiteral("/Contents/Info.plist"), kMaxBytes);
    if (file.status != BoundedFile::ReadResult::Status::ok)
        return std::nullopt;
    return parse(file.bytes);
}

QString BundleInfo::executablePath() const {
    return QLatin1String(BundleLayout::kExecutableDirectory) + QLatin1Char('/') + executable;
}

bool BundleInfo::isPlainFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

} // namespace ovrel
