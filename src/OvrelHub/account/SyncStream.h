#pragma once

#include "OvrelConfig/LocKey.h"

#include <QJsonValue>
#include <QString>
#include <functional>

namespace ovrel {

// One synchronised data set: how to read it, replace it and name it.
struct SyncStream {
    QString key;                                  // base name, e.g. "moduleSettings"
    std::function<QJsonValue()> snapshot;         // the current local payload
    std::function<void(const QJsonValue&)> apply; // replace local data by the server's
    LocKey statusLabel = LocKey::moduleSettingsLabel;
    std::function<QJsonValue()> emptyPayload; // nothing set yet
    bool platformScoped = false;              // may be kept apart per platform

    // The platform suffix of a stream kept apart; "macos" is the service's
    // name for this edition's platform.
    static constexpr const char* kPlatformSuffix = ".macos";

    QString effectiveKey(bool sharedAcrossPlatforms) const {
        return platformScoped && !sharedAcrossPlatforms ? key + QString::fromLatin1(kPlatformSuffix)
                                                        : key;
    }
};

} // namespace ovrel
