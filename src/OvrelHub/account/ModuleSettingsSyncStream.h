#pragma once

#include "OvrelHub/account/SyncStream.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "OvrelModuleKit/settings/ModuleSettingsSyncPayload.h"

#include <QJsonObject>

namespace ovrel {

// The hub's one sync stream, "moduleSettings": the setting values of every
// installed module as {module id: {setting key: value}}, platform scoped.
// Applying a server payload saves each module's settings through the module
// settings store, whose notification makes a running module change live.
namespace ModuleSettingsSyncStream {

SyncStream make(const ModulePaths& paths);

QJsonObject render(const ModuleSettingsPayload& payload);
// Each value keeps its JSON type: true/false a Boolean, a whole number an
// integer, text a string; anything else is dropped, as are members that are
// not objects. Nothing for a payload that is not an object.
std::optional<ModuleSettingsPayload> parse(const QJsonValue& payload);

// Saves what parse() and the payload plan accept; a module whose file cannot
// be written is logged and skipped.
void apply(const QJsonValue& payload, const ModulePaths& paths);

} // namespace ModuleSettingsSyncStream

} // namespace ovrel
