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

// Removes the archive and the work directory in every outcome. Throws
// InstallError (checksumMismatch, unzip, or the completion's), or FileError
// when the archive cannot be read for its digest.
// `unpacking` is called once the digest matched, before the archive is unpacked.
ModuleManifest finish(const CatalogRelease& release, const DownloadedArchive& archive,
                      const QString& workDirectory, const Completion& complete,
                      const std::function<void()>& unpacking = {});

// 64 lowercase hex digits; read in 1 MiB pieces. Throws FileError.
QString sha256(const QString& file);

} // namespace CatalogInstall

} // namespace ovrel
