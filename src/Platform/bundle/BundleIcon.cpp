#include "Platform/bundle/BundleIcon.h"

#include "Platform/bundle/BundleInfo.h"
#include "Platform/files/BoundedFile.h"

#include <QFileInfo>

namespace ovrel::BundleIcon {

QString file(const QString& bundlePath) {
    const auto info = BundleInfo::read(bundlePath);
    if (!info || info->iconFile.isEmpty())
        return {};
    QString name = info->iconFile;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".png");
    return bundlePath + QStringLiteral("/Contents/Resources/") + name;
}

QImage image(const QString& bundlePath, int maxSide) {
    const QString path = file(bundlePath);
    if (path.isEmpty())
        return {};
    const auto bytes = BoundedFile::read(path, kMaxIconBytes);
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
