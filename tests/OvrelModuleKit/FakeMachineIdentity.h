#pragma once

#include "Platform/system/MachineIdentity.h"

namespace ovrel::test {

// A machine whose identifier the test chooses (or that has none).
class FakeMachineIdentity : public MachineIdentity {
public:
    explicit FakeMachineIdentity(std::optional<QString> uuid) : m_uuid(std::move(uuid)) {}
    std::optional<QString> hardwareUUID() const override { return m_uuid; }

private:
    std::optional<QString> m_uuid;
};

} // namespace ovrel::test
