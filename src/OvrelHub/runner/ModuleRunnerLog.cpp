#include "OvrelHub/runner/ModuleRunnerLog.h"

namespace ovrel::ModuleRunnerLog {

QString macOSTooOld(const QString& id, const QString& required, const QString& current) {
    return QStringLiteral("Ovrel: module ") + id + QStringLiteral(" cần macOS ") + required +
           QStringLiteral(" trở lên (máy này ") + current + QStringLiteral(") — không mở");
}

QString invalidMinMacOS(const QString& id, const QString& value) {
    return QStringLiteral("Ovrel: module ") + id + QStringLiteral(" khai minMacOS không hợp lệ ") +
           QLatin1Char('"') + value + QLatin1Char('"') + QStringLiteral(" — không mở");
}

QString signatureFailed(const QString& id) {
    return QStringLiteral("Ovrel: module ") + id +
           QStringLiteral(" không qua được xác minh chữ ký — không mở");
}

QString inboxNotWritten(const QString& id, const QString& reason) {
    return QStringLiteral("Ovrel: không ghi được inbox cho module ") + id + QStringLiteral(": ") +
           reason;
}

QString notOpened(const QString& id, const QString& reason) {
    return QStringLiteral("Ovrel: không mở được module ") + id + QStringLiteral(": ") + reason;
}

} // namespace ovrel::ModuleRunnerLog
