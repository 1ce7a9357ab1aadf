#pragma once

#include "OvrelConfig/CatalogRelease.h"
#include "OvrelHub/store/ModuleDownloading.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QString>
#include <functional>

namespace ovrel {

// The steps of an install from the catalog that follow the download, on the
// store's worker thread: check the archive's digest against the release's,
// unpack it safely into the attempt's work directory, complete the install.
namespace CatalogInstall {

// Completes the install of the unpacked bundle (the store's completion step).
using Completion = std::function<ModuleManifest(const QString& bundle)>;

// The steps an install goes through, for whoever shows its progress.
enum class Step { checkingArchive, unpacking, completing };
using StepObserver = std::function<void(Step step)>;

// Removes the archive and the work directory in every outcome. Throws
// InstallError (checksumMismatch, unzip, or the completion's), or FileError
// when the archive cannot be read for its digest. `observer` (when set) hears
// of each step as it begins, on the calling thread.
ModuleManifest finish(const CatalogRelease& release, const DownloadedArchive& archive,
                      const QString& workDirectory, const Completion& complete,
                      const StepObserver& observer = {});

// 64 lowercase hex digits; read in 1 MiB pieces. Throws FileError.
QString sha256(const QString& file);

} // namespace CatalogInstall

} // namespace ovrel
