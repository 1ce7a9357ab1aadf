#include "OvrelHub/update/UpdatePreferences.h"

#include "Platform/files/FileError.h"
#include "Platform/system/SystemLog.h"

namespace ovrel {

std::optional<QString> UpdatePreferences::feedURLOverride(UserDefaults& defaults) {
    return defaults.string(QString::fromLatin1(kUpdateFeedURL));
}

std::optional<QString> UpdatePreferences::lastNotifiedVersion(UserDefaults& defaults) {
    return defaults.string(QString::fromLatin1(kLastNotifiedVersion));
}

void UpdatePreferences::setLastNotifiedVersion(const QString& version, UserDefaults& defaults) {
    try {
        defaults.set(QString::fromLatin1(kLastNotifiedVersion), version);
    } catch (const FileError& error) {
        SystemLog::write(QStringLiteral("Ovrel: không lưu được lastNotifiedVersion: ") +
                         error.description());
    }
}

} // namespace ovrel
