#pragma once

#include <QLatin1String>
#include <QString>
#include <functional>

namespace ovrel {

// Names of the payload-free notifications between the hub and its modules.
// Each only means "a file changed, read it again", so a missed or coalesced
// notification loses nothing for a reader that also reads at start.
namespace ModuleNotify {

QString hostName();                      // "vn.ovrel.host": host.json or the session changed
QString settingsName(const QString& id); // vn.ovrel.module.<id>.settings
QString commandName(const QString& id);  // vn.ovrel.module.<id>.command

// To every process of the user, immediately.
void post(const QString& name);

// Calls handler (on this thread's event loop) whenever name is posted, for the
// rest of the process's life. Observing a name twice installs two observers.
void observe(const QString& name, std::function<void()> handler);

} // namespace ModuleNotify

} // namespace ovrel
