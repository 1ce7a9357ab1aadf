#pragma once

#include <QImage>
#include <QString>

namespace ovrel {

// The icon a bundle declares (CFBundleIconFile, a PNG in Contents/Resources).
// Images are safe to make off the main thread, unlike pixmaps and icons.
namespace BundleIcon {

constexpr qint64 kMaxIconBytes = 8 * 1024 * 1024;

// Contents/Resources/<CFBundleIconFile> (".png" added when it has no
// extension); empty when the bundle declares none. Not checked to exist.
QString file(const QString& bundlePath);

// Null when the bundle declares no readable icon; never larger than maxSide.
QImage image(const QString& bundlePath, int maxSide = 256);

} // namespace BundleIcon

} // namespace ovrel
