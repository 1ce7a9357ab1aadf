#pragma once

#include <QString>

namespace ovrel {

// Which product and platform this build is, as the online service knows them.
class BuildIdentity {
public:
    static constexpr const char* kPlatform = "macos";
    static constexpr const char* kLiteBundleIdentifier = "vn.ovrel.lite";
    static constexpr const char* kOtherBuildBundleIdentifier = "vn.ovrel.app";

    static QString platform() { return QString::fromLatin1(kPlatform); }
    static QString product(const QString& bundleIdentifier);
    // product() of the running program's identifier ("app" when it has none).
    static QString currentProduct();

    // The running program's identifier (set once by the program's entry) and
    // its short version string ("0.0.0" when it has none).
    static QString bundleIdentifier();
    static void setBundleIdentifier(const QString& identifier);
    static QString shortVersion();
};

} // namespace ovrel
