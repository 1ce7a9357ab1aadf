#include "Platform/archive/LibArchive.h"

#include "Platform/library/SharedLibrary.h"

namespace ovrel {

// The name the library is installed under for the headers built against.
static_assert(ARCHIVE_VERSION_NUMBER >= 3000000 && ARCHIVE_VERSION_NUMBER < 4000000);

const LibArchive& LibArchive::get() {
    return loadedOnce<LibArchive>("libarchive.so.13",
                                  [](LibArchive& loaded, const SharedLibrary& library) {
                                      OVREL_LIBARCHIVE_FUNCTIONS(OVREL_LIBRARY_RESOLVE)
                                  });
}

} // namespace ovrel
