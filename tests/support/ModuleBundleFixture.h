#pragma once

// Small module bundles for code-signing tests, written into a test's TempDir.

#include "Platform/plist/PlistCodec.h"
#include "TestSupport.h"

#include <QDir>
#include <QVariantMap>

namespace ovrel::test {

struct BundleSpec {
    QString id = QStringLiteral("clock");
    QString appName = QStringLiteral("Clock.app");
    QString executable = QStringLiteral("clock");
    QByteArray executableBytes = QByteArray("\x7f"
                                            "ELF pretend module program");
    QByteArray icon = QByteArray("\x89PNG\r\n\x1a\n pretend icon");
    QByteArray manifest = QByteArray(R"({"id":"clock"})");
};

inline QByteArray moduleInfoPlist(const BundleSpec& spec) {
    return PlistCodec::toXml(QVariantMap{
        {QStringLiteral("CFBundleIdentifier"), QStringLiteral("vn.ovrel.module.") + spec.id},
        {QStringLiteral("CFBundleExecutable"), spec.executable},
        {QStringLiteral("CFBundleShortVersionString"), QStringLiteral("1.0.0")},
        {QStringLiteral("CFBundleName"), spec.id},
        {QStringLiteral("CFBundleIconFile"), QStringLiteral("icon.png")},
    });
}

// Writes <parent>/<appName> with Info.plist, the executable, the manifest and
// an icon; returns the bundle's path.
inline QString writeModuleBundle(const QString& parent, const BundleSpec& spec = {}) {
    const QString bundle = QDir(parent).filePath(spec.appName);
    writeFile(bundle + QStringLiteral("/Contents/Info.plist"), moduleInfoPlist(spec));
    writeFile(bundle + QStringLiteral("/Contents/MacOS/") + spec.executable, spec.executableBytes);
    writeFile(bundle + QStringLiteral("/Contents/Resources/manifest.json"), spec.manifest);
    writeFile(bundle + QStringLiteral("/Contents/Resources/icon.png"), spec.icon);
    return bundle;
}

} // namespace ovrel::test
