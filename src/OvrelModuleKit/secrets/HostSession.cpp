#include "OvrelModuleKit/secrets/HostSession.h"

#include "OvrelModuleKit/secrets/SecretStore.h"

namespace ovrel::HostSession {

SecretLoad state(const ModulePaths& paths, const std::optional<QString>& machineID,
                 const MachineIdentity& identity) {
    const SecretStore store(paths.secretsDir(),
                            machineID ? *machineID : SecretStore::machineIDOf(identity));
    return store.load(secretName);
}

std::optional<QString> token(const ModulePaths& paths, const std::optional<QString>& machineID,
                             const MachineIdentity& identity) {
    return state(paths, machineID, identity).text();
}

} // namespace ovrel::HostSession
