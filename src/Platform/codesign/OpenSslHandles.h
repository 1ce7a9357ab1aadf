#pragma once

#include "Platform/crypto/LibCrypto.h"

#include <memory>

namespace ovrel::OpenSsl {

// Owning handles for the few OpenSSL objects the code-signing layer uses.
struct PkeyFree {
    void operator()(EVP_PKEY* p) const { LibCrypto::get().EVP_PKEY_free(p); }
};
struct PkeyCtxFree {
    void operator()(EVP_PKEY_CTX* p) const { LibCrypto::get().EVP_PKEY_CTX_free(p); }
};
struct MdCtxFree {
    void operator()(EVP_MD_CTX* p) const { LibCrypto::get().EVP_MD_CTX_free(p); }
};
struct X509Free {
    void operator()(X509* p) const { LibCrypto::get().X509_free(p); }
};

using Pkey = std::unique_ptr<EVP_PKEY, PkeyFree>;
using PkeyCtx = std::unique_ptr<EVP_PKEY_CTX, PkeyCtxFree>;
using MdCtx = std::unique_ptr<EVP_MD_CTX, MdCtxFree>;
using Certificate = std::unique_ptr<X509, X509Free>;

} // namespace ovrel::OpenSsl
