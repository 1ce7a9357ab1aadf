#pragma once

#include "OvrelConfig/AppLanguage.h"

#include <QString>
#include <exception>

namespace ovrel {

// What the user and the log are told when installing from the store fails,
// whatever failed: the store pane and the command line both use it.
namespace InstallFailureText {

// The reason: the system requirement for a module needing a newer system,
// "sign in" when the service wants a signed-in user, the generic failure
// text otherwise.
QString reason(const std::exception_ptr& error, AppLanguage language);

// "Install failed: <reason>" in the language.
QString message(const std::exception_ptr& error, AppLanguage language);

// The error's own description, for "Ovrel: ..." log lines.
QString description(const std::exception_ptr& error);

} // namespace InstallFailureText

} // namespace ovrel
