#pragma once

#include "Platform/bundle/BundleDirectory.h"

#include <QString>
#include <vector>

namespace ovrel {

// What a bundle holds as far as its seal is concerned: every file and link
// under Contents outside _CodeSignature. Anything a seal cannot cover safely
// is reported instead: entries beside Contents, special files, names that are
// not clean UTF-8, links leading out of the bundle, strangers in _CodeSignature.
struct BundleLayout {
    enum class Problem { none, unreadable, strayEntry, unsupportedEntry, escapingSymlink };

    struct Item {
        QString path; // relative to Contents
        bool isSymlink = false;
        QString symlinkTarget;
    };

    Problem problem = Problem::none;
    QString problemPath; // relative to the bundle root
    std::vector<Item> items;

    static BundleLayout scan(const BundleDirectory& bundle,
                             const BundleDirectory::Limits& limits = {});

    static constexpr const char* kSignatureDirectory = "Contents/_CodeSignature";
    static constexpr const char* kCodeResources = "Contents/_CodeSignature/CodeResources";
    static constexpr const char* kCodeSignature = "Contents/_CodeSignature/CodeSignature";
    static constexpr const char* kInfoPlist = "Contents/Info.plist";
    static constexpr const char* kExecutableDirectory = "Contents/MacOS";
};

} // namespace ovrel
