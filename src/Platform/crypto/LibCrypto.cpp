#include "Platform/crypto/LibCrypto.h"

#include <openssl/opensslv.h>

namespace ovrel {

// The name the library is installed under for the headers built against.
static_assert(OPENSSL_VERSION_MAJOR == 3);

const LibCrypto& LibCrypto::get() {
    static const LibCrypto functions = [] {
        static const SharedLibrary library("libcrypto.so.3");
        LibCrypto loaded;
        OVREL_LIBCRYPTO_FUNCTIONS(OVREL_LIBRARY_RESOLVE)
        return loaded;
    }();
    return functions;
}

} // namespace ovrel
