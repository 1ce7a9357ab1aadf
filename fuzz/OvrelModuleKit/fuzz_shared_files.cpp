// The files at the top of the shared tree and the user defaults: host.json,
// input-passthrough.json, ModuleSettings/<id>.json, secrets/<name>.bin and a
// defaults domain.
#include "FuzzSupport.h"
#include "OvrelModuleKit/inbox/ModuleHostState.h"
#include "OvrelModuleKit/lease/InputPassthrough.h"
#include "OvrelModuleKit/secrets/SecretStore.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "Platform/plist/UserDefaults.h"

using namespace ovrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    const ModulePaths& paths = fuzz::root();
    fuzz::place(paths.hostFile(), input);
    ModuleHostState::language(paths);
    ModuleHostState::apiBaseURL(paths);
    fuzz::place(paths.inputPassthroughFile(), input);
    InputPassthrough::lease(paths);
    ModuleSettingsStore::decode(input);
    fuzz::place(paths.secretFile(QStringLiteral("session")), input);
    SecretStore(paths.secretsDir(), QStringLiteral("00000000-0000-0000-0000-000000000000"))
        .load(QStringLiteral("session"));
    const QString defaultsDir = paths.root() + QStringLiteral("/defaults");
    fuzz::place(defaultsDir + QStringLiteral("/vn.ovrel.lite.plist"), input);
    UserDefaults(QStringLiteral("vn.ovrel.lite"), defaultsDir).dictionaryRepresentation();
    return 0;
}
