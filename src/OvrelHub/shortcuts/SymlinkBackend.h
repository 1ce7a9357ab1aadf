#pragma once

#include "OvrelHub/shortcuts/ShortcutBackend.h"

namespace ovrel {

// The shortcut is a symbolic link to the bundle directory. A dangling link
// still exists.
class SymlinkBackend : public ShortcutBackend {
public:
    void create(const QString& link, const QString& target) override;
    bool exists(const QString& link) const override;
    void remove(const QString& link) override;
};

} // namespace ovrel
