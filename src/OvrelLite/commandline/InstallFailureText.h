#pragma once

#include "OvrelConfig/AppLanguage.h"

#include <QString>
#include <exception>

namespace ovrel {

// The texts the store pane shows for a failed install or uninstall, followed
// by an indented line with the particulars (InstallError::detail) when there
// are any. Errors other than InstallError give the generic reason and their
// own message as the particulars.
namespace InstallFailureText {
// "Install failed: <reason>"
QString forInstall(const std::exception& error, AppLanguage language);
// "<reason>"
QString forUninstall(const std::exception& error, AppLanguage language);
} // namespace InstallFailureText

} // namespace ovrel
