#pragma once

#include "Platform/files/FileError.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/types.h>

namespace ovrel {

// The one way files are written: missing parent directories are created, the
// bytes go to a temporary file in the same directory, are flushed to disk and
// renamed over the target, so readers see the old file or the new one, never half.
namespace AtomicFile {

struct Options {
    std::optional<mode_t> fileMode =
        std::nullopt; // permissions of the new file (default 0644 & ~umask)
    std::optional<mode_t> directoryMode =
        std::nullopt; // permissions of directories created on the way (default 0700)
    // Flush to the disk before the rename. Files that are rewritten on every
    // start (host state, the first trace line) skip it: the rename alone keeps
    // readers from seeing half a file, and they cost start-up time otherwise.
    bool durable = true;

    static Options transient() {
        Options options;
        options.durable = false;
        return options;
    }
};

// Throws FileError.
void write(const QString& path, const QByteArray& bytes, const Options& options = {});

// Creates a directory and its parents (0700 unless `mode` says otherwise);
// throws FileError.
void makeDirectories(const QString& path, std::optional<mode_t> mode = std::nullopt);

} // namespace AtomicFile

} // namespace ovrel
