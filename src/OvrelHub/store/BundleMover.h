#pragma once

#include <QString>
#include <functional>

namespace ovrel {

// Puts the bundle directory at `from` at the new path `to`; throws on failure.
// The install pipeline takes one so tests can make the swap fail.
using BundleMoving = std::function<void(const QString& from, const QString& to)>;

class BundleMover {
public:
    // Renames; across file systems (staging on another volume than the
    // modules), copies the tree and then removes the source. Throws FileError;
    // a failed copy leaves nothing at `to` and the source where it was.
    static void move(const QString& from, const QString& to);

    static BundleMoving standard() { return &BundleMover::move; }
};

} // namespace ovrel
