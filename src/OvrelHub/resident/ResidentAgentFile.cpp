#include "OvrelHub/resident/ResidentAgentFile.h"

#include "Platform/files/BoundedFile.h"
#include "Platform/plist/PlistCodec.h"

#include <QVariantMap>
#include <algorithm>

namespace ovrel {

std::optional<ResidentAgentFile> ResidentAgentFile::read(const QString& plistPath) {
    const auto file = BoundedFile::read(plistPath, kMaxBytes);
    if (file.status != BoundedFile::ReadResult::Status::ok)
        return std::nullopt;
    const auto root = PlistCodec::parse(file.bytes);
    if (!root || root->metaType().id() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap map = root->toMap();

    ResidentAgentFile agent;
    const QVariant label = map.value(QStringLiteral("Label"));
    if (label.metaType().id() != QMetaType::QString || label.toString().isEmpty())
        return std::nullopt;
    agent.label = label.toString();
    const QVariant arguments = map.value(QStringLiteral("ProgramArguments"));
    if (arguments.metaType().id() != QMetaType::QVariantList)
        return std::nullopt;
    for (const QVariant& argument : arguments.toList()) {
        if (argument.metaType().id() != QMetaType::QString)
            return std::nullopt;
        agent.programArguments.append(argument.toString());
    }
    if (agent.programArguments.isEmpty() || !agent.programArguments.first().startsWith(u'/'))
        return std::nullopt;
    const QVariant throttle = map.value(QStringLiteral("ThrottleInterval"));
    if (throttle.metaType().id() == QMetaType::LongLong)
        agent.throttleSeconds = int(std::clamp<qint64>(throttle.toLongLong(), 1, 24 * 3600));
    return agent;
}

} // namespace ovrel
