#include "Platform/crypto/LibCrypto.h"

#include <openssl/opensslv.h>

namespace ovrel {

// The name the library is installed under for the headers built against.
static_assert(OPENSSL_VERSION_MAJOR == 3);

const LibCrypto& LibCrypto::get() {
    return loadedOnce<LibCrypto>("libcrypto.so.3",
                                 [](LibCrypto& loaded, const SharedLibrary& library) {
                                     OVREL_LIBCRYPTO_FUNCTIONS(OVREL_LIBRARY_RESOLVE)
                                 });
}

} // namespace ovrel
