// The files a module writes into Modules/<id>/ and the hub reads: inbox.json,
// menu.json, permissions.json and startups.json.
#include "FuzzSupport.h"
#include "OvrelModuleKit/inbox/InboxCommand.h"
#include "OvrelModuleKit/launch/ModuleStartupLog.h"
#include "OvrelModuleKit/menu/DynamicMenuFile.h"
#include "OvrelModuleKit/permissions/PermissionStatusFile.h"

#include <vector>

using namespace ovrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    const ModulePaths& paths = fuzz::root();
    const QString id = QStringLiteral("clock");
    InboxCommand::decode(input);
    DynamicMenuFile::parse(input, id);
    fuzz::place(paths.permissionsFile(id), input);
    PermissionStatusFile::read(
        paths, id,
        std::vector<PermissionKind>(allPermissionKinds.begin(), allPermissionKinds.end()));
    fuzz::place(paths.startupLogFile(id), input);
    ModuleStartupLog(paths, id, ModuleStartupLog::kStandardMaxEntries).timestamps();
    return 0;
}
