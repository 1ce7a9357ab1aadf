#pragma once

#include "OvrelModuleKit/permissions/PermissionStatus.h"

#include <QString>

namespace ovrel::pulse {

// Input monitoring on Linux: reading the kernel's input event devices, which
// takes membership of their group. Granted when this process may read at
// least one of them, denied when there are some and none is readable, and
// undetermined when the machine shows none.
namespace InputDevicePermission {

PermissionStatus check(const QString& inputDirectory = QStringLiteral("/dev/input"));

} // namespace InputDevicePermission

} // namespace ovrel::pulse
