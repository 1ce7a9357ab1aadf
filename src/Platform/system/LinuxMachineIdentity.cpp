#include "Platform/system/LinuxMachineIdentity.h"

#include "Platform/files/BoundedFile.h"

namespace ovrel {

namespace {

// A machine-id file is one line; anything much longer is not one.
constexpr qint64 kMaxMachineIdFileBytes = 256;
constexpr qsizetype kMachineIdDigits = 32;

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

const MachineIdentity& MachineIdentity::system() {
    static const LinuxMachineIdentity identity;
    return identity;
}

LinuxMachineIdentity::LinuxMachineIdentity(QStringList candidateFiles)
    : m_candidateFiles(std::move(candidateFiles)) {}

QStringList LinuxMachineIdentity::defaultCandidateFiles() {
    return {QStringLiteral("/etc/machine-id"), QStringLiteral("/var/lib/dbus/machine-id")};
}

std::optional<QString> LinuxMachineIdentity::hardwareUUID() const {
    for (const QString& path : m_candidateFiles) {
        const auto file = BoundedFile::read(path, kMaxMachineIdFileBytes);
        if (file.status != BoundedFile::ReadResult::Status::ok)
            continue;
        if (auto uuid = uuidFromMachineId(file.bytes))
            return uuid;
    }
    return std::nullopt;
}

std::optional<QString> LinuxMachineIdentity::uuidFromMachineId(QByteArrayView contents) {
    const QByteArrayView digits = contents.trimmed();
    if (digits.size() != kMachineIdDigits)
        return std::nullopt;
    bool allZero = true;
    for (const char c : digits) {
        if (!isHexDigit(c))
            return std::nullopt;
        allZero = allZero && c == '0';
    }
    // systemd treats the all-zero id as "no id"; so do we.
    if (allZero)
        return std::nullopt;
    const QString hex = QString::fromLatin1(digits).toUpper();
    return hex.mid(0, 8) + QLatin1Char('-') + hex.mid(8, 4) + QLatin1Char('-') + hex.mid(12, 4) +
           QLatin1Char('-') + hex.mid(16, 4) + QLatin1Char('-') + hex.mid(20, 12);
}

} // namespace ovrel
