#pragma once

#include "OvrelModuleKit/paths/ModulePaths.h"
#include "OvrelModuleKit/settings/SettingValue.h"

#include <QList>
#include <QMap>
#include <QPair>

namespace ovrel {

// Module id -> that module's settings: what settings sync carries to and from
// the cloud.
using ModuleSettingsPayload = QMap<QString, SettingsMap>;

class ModuleSettingsSyncPayload {
public:
    // Every decodable ModuleSettings/<name>.json as stored, under <name>; files
    // that cannot be read or decoded are skipped. No manifest is consulted and
    // no id is checked: the snapshot carries exactly what is on disk.
    static ModuleSettingsPayload snapshot(const ModulePaths& paths);

    // The entries whose id is a valid module id, in ascending id order: what the
    // sync service saves, one module after the other. Invalid ids are dropped so
    // a payload cannot write outside ModuleSettings/.
    static QList<QPair<QString, SettingsMap>> plan(const ModuleSettingsPayload& payload);
};

} // namespace ovrel
