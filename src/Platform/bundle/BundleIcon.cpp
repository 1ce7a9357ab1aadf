#include "Platform/bundle/BundleIcon.h"

#include "Platform/bundle/BundleInfo.h"
#include "Platform/files/BoundedFile.h"

#include <QFileInfo>

namespace ovrel::BundleIcon {

QImage image(const QString& bundlePath, int maxSide) {
    const auto plist = BoundedFile::read(bundlePath + QStringLiteral("/Contents/Info.plist"),
                                         BundleInfo::kMaxBytes);
    if (plist.status != BoundedFile::ReadResult::Status::ok)
        return {};
    const auto info = BundleInfo::parse(plist.bytes);
    if (!info || info->iconFile.isEmpty())
        return {};
    QString file = info->iconFile;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".png");
    const auto bytes = BoundedFile::read(bundlePath + QStringLiteral("/Contents/Resources/") + file,
                                         kMaxIconBytes);
    if (bytes.status != BoundedFile::ReadResult::Status::ok)
        return {};
    QImage image = QImage::fromData(bytes.bytes);
    if (image.isNull())
        return {};
    if (image.width() > maxSide || image.height() > maxSide)
        image = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace ovrel::BundleIcon
