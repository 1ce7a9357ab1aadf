#pragma once

#include <QString>

namespace ovrel {

// What it takes to start the program of an application bundle, read from its
// Contents/Info.plist (through BundleInfo): the identifier and
// Contents/MacOS/<CFBundleExecutable>, checked to be runnable.
struct ApplicationBundle {
    QString path;             // the bundle directory, absolute
    QString bundleIdentifier; // CFBundleIdentifier; empty when not declared
    QString executablePath;

    // Throws WorkspaceError when the property list is missing, unreadable or
    // not a dictionary, declares no plain file name as executable, or the
    // executable is missing, not a regular file or not executable by us.
    static ApplicationBundle load(const QString& bundlePath);
};

} // namespace ovrel
