#pragma once

#include <QString>

namespace ovrel {

// The name of a module's bundle directory inside Modules/<id>/, as it comes
// from the state file or from a delivered bundle. Both may be hostile, so a
// name is used in a path only when it is one plain component.
class AppName {
public:
    // Something before ".app", no "/" or control character, valid Unicode, at most 255 bytes
    // in UTF-8.
    static bool isValid(const QString& appName);
};

} // namespace ovrel
