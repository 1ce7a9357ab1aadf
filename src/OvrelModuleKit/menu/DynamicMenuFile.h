#pragma once

#include "OvrelModuleKit/menu/DynamicMenuItem.h"
#include "OvrelModuleKit/menu/RawDynamicMenuFile.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace ovrel {

// The menu a running module publishes in Modules/<id>/menu.json. The module
// writes it; the hub reads it every time its status menu opens, so reading is
// bounded: the size is checked before parsing and the limits cap the result.
namespace DynamicMenuFile {

inline constexpr int currentVersion = 1;
inline constexpr int maxItems = 30;        // entries kept at the top level
inline constexpr int maxChildren = 10;     // entries kept in a submenu
inline constexpr int maxTitleLength = 100; // user-perceived characters kept of a title
inline constexpr qint64 maxFileBytes = 65536;

QString file(const ModulePaths& paths, const QString& id);

// {"version":1,"items":[…]} with every field of each entry ("command" only when
// there is one, "children" always). The limits are the reader's business.
QByteArray encode(const std::vector<DynamicMenuItem>& items);

// Writes encode(items) atomically, creating the module directory when needed.
// Throws FileError (also for an invalid module id) or JsonEncodingError.
void write(const std::vector<DynamicMenuItem>& items, const ModulePaths& paths, const QString& id);

// The module's entries, limited and cleaned. Never fails: a missing or
// unreadable file (or an invalid module id) gives no entries silently; an oversized, undecodable or
// wrong-version file gives no entries and one system-log line.
std::vector<DynamicMenuItem> read(const ModulePaths& paths, const QString& id);

// read() for bytes already in memory (no size check).
std::vector<DynamicMenuItem> parse(const QByteArray& bytes, const QString& id);

// Applies the entry limits of the level (depth 0 top, 1 submenu), drops entries
// without an id or a non-empty title and cuts long titles. Logs each cut list
// and each dropped entry under the module id.
// items are entries that passed RawDynamicMenuItem::isWellTyped at that depth.
std::vector<DynamicMenuItem> sanitize(const JsonValue::Array& items, int depth,
                                      const QString& moduleId);

} // namespace DynamicMenuFile

} // namespace ovrel
