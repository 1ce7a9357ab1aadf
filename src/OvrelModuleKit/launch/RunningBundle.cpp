#include "OvrelModuleKit/launch/RunningBundle.h"

#include "Platform/files/BoundedFile.h"
#include "Platform/plist/PlistCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ovrel::RunningBundle {

std::optional<QString> bundleOf(const QString& executableDirectory) {
    const QString cleaned = QDir::cleanPath(executableDirectory);
    if (!cleaned.endsWith(QLatin1String("/Contents/MacOS")))
        return std::nullopt;
    const QString bundle = cleaned.chopped(int(sizeof("/Contents/MacOS") - 1));
    if (bundle.isEmpty())
        return std::nullopt;
    return bundle;
}

std::optional<QString> path() {
    return bundleOf(QCoreApplication::applicationDirPath());
}

QVariantMap infoDictionary() {
    const std::optional<QString> bundle = path();
    if (!bundle)
        return {};
    const BoundedFile::ReadResult loaded =
        BoundedFile::read(*bundle + QStringLiteral("/Contents/Info.plist"), kMaxInfoPlistBytes);
    if (loaded.status != BoundedFile::ReadResult::Status::ok)
        return {};
    const std::optional<QVariant> parsed = PlistCodec::parse(loaded.bytes);
    if (!parsed || parsed->metaType().id() != QMetaType::QVariantMap)
        return {};
    return parsed->toMap();
}

QString applicationName() {
    const QVariant name = infoDictionary().value(QStringLiteral("CFBundleName"));
    if (name.metaType().id() == QMetaType::QString)
        return name.toString();
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

} // namespace ovrel::RunningBundle
