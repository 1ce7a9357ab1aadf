#pragma once

#include "Platform/library/SharedLibrary.h"

#include <archive.h>
#include <archive_entry.h>

namespace ovrel {

// The libarchive functions the zip reader calls, from the library opened on
// first use (SharedLibrary): only installs unpack archives.
#define OVREL_LIBARCHIVE_FUNCTIONS(X)                                                              \
    X(archive_read_new)                                                                            \
    X(archive_read_free)                                                                           \
    X(archive_read_support_format_zip)                                                             \
    X(archive_read_open_filename)                                                                  \
    X(archive_read_next_header)                                                                    \
    X(archive_read_data)                                                                           \
    X(archive_read_data_block)                                                                     \
    X(archive_error_string)                                                                        \
    X(archive_entry_pathname)                                                                      \
    X(archive_entry_filetype)                                                                      \
    X(archive_entry_hardlink)                                                                      \
    X(archive_entry_symlink)                                                                       \
    X(archive_entry_perm)                                                                          \
    X(archive_entry_size)                                                                          \
    X(archive_entry_size_is_set)

struct LibArchive {
    OVREL_LIBARCHIVE_FUNCTIONS(OVREL_LIBRARY_MEMBER)

    // Loads the library once; throws SharedLibraryError when it or one of the
    // functions is missing. Thread-safe.
    static const LibArchive& get();
};

} // namespace ovrel
