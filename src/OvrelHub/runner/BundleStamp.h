#pragma once

#include "OvrelHub/runner/FileStamp.h"

#include <QString>
#include <optional>

namespace ovrel {

// A cheap fingerprint of an installed bundle: a signature check that passed for
// one stamp need not be repeated while the stamp stays the same. It changes
// when the main executable, the sealed resource list or Info.plist is replaced,
// rewritten or resized, or when the bundle moves.
struct BundleStamp {
    FileStamp executable;
    FileStamp codeResources; // Contents/_CodeSignature/CodeResources
    // Info.plist names the program that is started and is sealed with it; none
    // when the bundle has none.
    std::optional<FileStamp> infoPlist;

    bool operator==(const BundleStamp&) const = default;

    // None without a main executable or without the resource list.
    static std::optional<BundleStamp> of(const QString& bundle);

    // Contents/MacOS/ and Info.plist's "CFBundleExecutable"; without that key,
    // the one regular file in Contents/MacOS (none when there are several). A
    // "CFBundleExecutable" that is not a plain file name (a "/" or "..") names
    // no executable.
    static std::optional<QString> mainExecutable(const QString& bundle);

    std::size_t hash() const;
};

} // namespace ovrel

template <> struct std::hash<ovrel::BundleStamp> {
    std::size_t operator()(const ovrel::BundleStamp& stamp) const noexcept { return stamp.hash(); }
};
