#pragma once

#include "OvrelModuleKit/paths/ModulePaths.h"
#include "OvrelModuleKit/secrets/SecretLoad.h"
#include "Platform/system/MachineIdentity.h"

#include <QString>
#include <optional>

namespace ovrel {

// The hub's sign-in session as a module sees it: the secret "session" in the
// shared root's secrets directory, read with the same machine binding.
namespace HostSession {

inline const QString secretName = QStringLiteral("session");

// machineID defaults to the identity's UUID, else the fallback machine id.
SecretLoad state(const ModulePaths& paths, const std::optional<QString>& machineID = std::nullopt,
                 const MachineIdentity& identity = MachineIdentity::system());

// The token when the session secret reads back, nothing otherwise.
std::optional<QString> token(const ModulePaths& paths,
                             const std::optional<QString>& machineID = std::nullopt,
                             const MachineIdentity& identity = MachineIdentity::system());

} // namespace HostSession

} // namespace ovrel
