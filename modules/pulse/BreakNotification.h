#pragma once

#include <QString>

namespace ovrel::pulse {

// A desktop notification through the session bus's notification server
// (org.freedesktop.Notifications). Without a server nothing is shown.
namespace BreakNotification {

void show(const QString& title, const QString& body, const QString& iconPath);

} // namespace BreakNotification

} // namespace ovrel::pulse
