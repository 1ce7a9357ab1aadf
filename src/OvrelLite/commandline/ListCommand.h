#pragma once

#include "OvrelHub/modules/InstalledModule.h"
#include "OvrelHub/resident/ResidentUsage.h"
#include "OvrelLite/commandline/HubCommand.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <optional>
#include <vector>

namespace ovrel {

// --list: the installed modules, one row each in module id order, in columns.
HubCommand listCommand();

// One installed module as the list shows it.
struct ModuleListRow {
    InstalledModule module;
    std::optional<ModuleManifest> manifest; // none when it cannot be read
    bool running = false;
    std::optional<ResidentUsage> usage; // memory and processor time while it runs
};

// The list's columns, left to right. A column is added here, with its header
// and how a row fills it; values are computed off the main thread.
struct ModuleListColumn {
    QString header;
    std::function<QString(const ModuleListRow& row)> value;
};
const std::vector<ModuleListColumn>& moduleListColumns();

// The rows as a table: the header line, then one line per row, columns
// padded to their widest value and separated by two spaces.
QString moduleListTable(const QList<ModuleListRow>& rows);

} // namespace ovrel
