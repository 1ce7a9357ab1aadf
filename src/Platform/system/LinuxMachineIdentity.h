#pragma once

#include "Platform/system/MachineIdentity.h"

#include <QByteArrayView>
#include <QStringList>

namespace ovrel {

// The systemd / D-Bus machine id: 32 hexadecimal digits, written as an
// uppercase 8-4-4-4-12 UUID ("0123ABCD-...") so it has the same shape as a
// platform UUID elsewhere. Candidate files are tried in order; a missing,
// empty, uninitialised or malformed file falls through to the next.
class LinuxMachineIdentity : public MachineIdentity {
public:
    explicit LinuxMachineIdentity(QStringList candidateFiles = defaultCandidateFiles());

    std::optional<QString> hardwareUUID() const override;

    // "/etc/machine-id", then "/var/lib/dbus/machine-id".
    static QStringList defaultCandidateFiles();

    // The UUID form of a machine-id file's contents, or nothing if they are
    // not exactly 32 hex digits (surrounding whitespace allowed) or all zero.
    static std::optional<QString> uuidFromMachineId(QByteArrayView contents);

private:
    QStringList m_candidateFiles;
};

} // namespace ovrel
