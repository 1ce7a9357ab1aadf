#pragma once

#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QLatin1String>
#include <QString>
#include <QUrl>

namespace ovrel {

// What the hub publishes for every module in host.json: the interface language
// and the base URL of the online service. Readers never fail; anything missing
// or unusable reads as the defaults.
namespace ModuleHostState {

inline constexpr QLatin1String defaultLanguage{"vi"};

// The service base URL built into the library (set at build time, https).
QUrl defaultAPIBase();

// Atomically writes {"appLanguage":…,"apiBaseURL":…} in that order, creating
// the root directory when needed, then posts "vn.ovrel.host". Throws FileError
// or JsonEncodingError and posts nothing then.
void write(const QString& language, const QUrl& apiBase, const ModulePaths& paths);

// The published language when it is one of the supported interface languages,
// else "vi".
QString language(const ModulePaths& paths);

// The published base URL when it parses and is acceptable, else defaultAPIBase().
QUrl apiBaseURL(const ModulePaths& paths);

// https with a host, or plain http to this machine by the names 127.0.0.1 or
// localhost (a local development service). The host is the one the network
// layer will contact, after QUrl's normalisation.
bool isAcceptableAPIBase(const QUrl& url);

} // namespace ModuleHostState

} // namespace ovrel
