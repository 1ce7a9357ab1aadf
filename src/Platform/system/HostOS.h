#pragma once

#include <QString>
#include <functional>

namespace ovrel {

// The version of the running system, as three dotted decimal numbers. On
// Linux that is the kernel release: "6.1.0-18-amd64" reads as "6.1.0".
class HostOS {
public:
    using ReleaseSource = std::function<QString()>;

    static QString currentVersion();
    // The same from another release text (tests, other sources).
    static QString currentVersion(const ReleaseSource& release);

    // The leading numbers of a release, up to three, separated by "."; missing
    // ones are 0, leading zeros are dropped. A release that does not start with
    // a number, or with one too large to be a version, reads as "0.0.0".
    static QString versionFromRelease(const QString& release);

    // uname(2)'s release field; empty if the call fails.
    static QString kernelRelease();
};

} // namespace ovrel
