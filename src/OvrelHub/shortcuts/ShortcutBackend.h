#pragma once

#include <QString>

namespace ovrel {

// How one shortcut to a module's bundle is made in the user's applications.
class ShortcutBackend {
public:
    virtual ~ShortcutBackend() = default;

    // Makes a shortcut at `link` that refers to `target`, replacing whatever
    // was there; throws (an exception derived from std::exception).
    virtual void create(const QString& link, const QString& target) = 0;
    // Whether the shortcut itself exists (not what it refers to); never throws.
    virtual bool exists(const QString& link) const = 0;
    // Deletes the shortcut; errors are ignored.
    virtual void remove(const QString& link) = 0;
};

} // namespace ovrel
