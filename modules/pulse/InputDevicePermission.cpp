#include "InputDevicePermission.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

namespace ovrel::pulse::InputDevicePermission {

PermissionStatus check(const QString& inputDirectory) {
    const QStringList devices =
        QDir(inputDirectory).entryList({QStringLiteral("event*")}, QDir::System | QDir::Files);
    if (devices.isEmpty())
        return PermissionStatus::undetermined;
    for (const QString& device : devices) {
        const QByteArray path = QFile::encodeName(inputDirectory + QLatin1Char('/') + device);
        if (::access(path.constData(), R_OK) == 0)
            return PermissionStatus::granted;
    }
    return PermissionStatus::denied;
}

} // namespace ovrel::pulse::InputDevicePermission
