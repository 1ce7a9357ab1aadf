#pragma once

#include <QString>
#include <optional>

namespace ovrel {

// The identifier of this machine that keys machine-bound secrets. It is a
// UUID string in the platform's canonical form, or nothing when the machine
// has no readable identifier.
class MachineIdentity {
public:
    virtual ~MachineIdentity() = default;
    virtual std::optional<QString> hardwareUUID() const = 0;

    // The identity of the machine this process runs on.
    static const MachineIdentity& system();
};

} // namespace ovrel
