#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace ovrel {

// Where the installed copies of an application live: the directories whose
// files belong to the given bundle identifier (a bundle, or a folder holding
// one). A process counts as a running instance of the application when its
// executable lies inside one of them. Unknown identifiers give no directory.
using BundleLocator = std::function<QStringList(const QString& bundleIdentifier)>;

// The hub's modules: "vn.ovrel.module.<id>" lives in <modulesDirectory>/<id>/
// (holding the one bundle), and while an install replaces it the previous
// bundle waits in <modulesDirectory>/<id>.bak/ before it is deleted. An
// instance started from that previous bundle keeps running the old, deleted
// executable, whose last path is in the ".bak" folder: it must still be found,
// to be activated instead of starting a second instance and to be ended when
// the module is uninstalled.
BundleLocator moduleBundleLocator(const QString& modulesDirectory);

constexpr const char* kModuleBundleIdentifierPrefix = "vn.ovrel.module.";

} // namespace ovrel
