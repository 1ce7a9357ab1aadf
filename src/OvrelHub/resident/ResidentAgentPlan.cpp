#include "OvrelHub/resident/ResidentAgentPlan.h"

#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/bundle/BundleInfo.h"

#include <QDir>

namespace ovrel::ResidentAgentPlan {

QString label(const QString& id) {
    return QLatin1String(kLabelPrefix) + id;
}

QString plistFileName(const QString& id) {
    return label(id) + QLatin1String(kPlistSuffix);
}

std::optional<QString> idFromPlistFileName(const QString& fileName) {
    const QLatin1String prefix(kLabelPrefix);
    const QLatin1String suffix(kPlistSuffix);
    if (!fileName.startsWith(prefix) || !fileName.endsWith(suffix) ||
        fileName.size() < prefix.size() + suffix.size())
        return std::nullopt;
    const QString id = fileName.mid(prefix.size(), fileName.size() - prefix.size() - suffix.size());
    if (!ModulePaths::isValidModuleId(id))
        return std::nullopt;
    return id;
}

std::optional<QString> executableURL(const QString& bundle) {
    // A name with a "/" would lead out of Contents/MacOS: no executable either.
    const std::optional<BundleInfo> info = BundleInfo::read(bundle);
    if (!info)
        return std::nullopt;
    return QDir(bundle).filePath(info->executablePath());
}

QVariantMap plist(const QString& id, const QString& executable, int throttleSeconds) {
    const QString agentLabel = label(id);
    return {
        {QStringLiteral("Label"), agentLabel},
        {QStringLiteral("AssociatedBundleIdentifiers"), QVariantList{agentLabel}},
        {QStringLiteral("ProgramArguments"), QVariantList{executable}},
        {QStringLiteral("RunAtLoad"), true},
        {QStringLiteral("KeepAlive"), QVariantMap{{QStringLiteral("SuccessfulExit"), false}}},
        {QStringLiteral("ThrottleInterval"), qint64(throttleSeconds)},
        {QStringLiteral("ProcessType"), QStringLiteral("Background")},
    };
}

} // namespace ovrel::ResidentAgentPlan
