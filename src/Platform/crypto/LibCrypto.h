#pragma once

#include "Platform/library/SharedLibrary.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>
#include <openssl/params.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace ovrel {

// The libcrypto functions hashing, sealing and code signatures call, from
// the library opened on first use (SharedLibrary): a start of the hub that
// neither installs nor opens a module needs none of them.
#define OVREL_LIBCRYPTO_FUNCTIONS(X)                                                               \
    X(BIO_free)                                                                                   \
    X(BIO_ctrl)                                                                                   \
    X(BIO_new)                                                                                    \
    X(BIO_new_mem_buf)                                                                            \
    X(BIO_s_mem)                                                                                  \
    X(BN_bin2bn)                                                                                  \
    X(BN_free)                                                                                    \
    X(BN_to_ASN1_INTEGER)                                                                         \
    X(ERR_clear_error)                                                                            \
    X(EVP_CIPHER_CTX_ctrl)                                                                        \
    X(EVP_CIPHER_CTX_free)                                                                        \
    X(EVP_CIPHER_CTX_new)                                                                         \
    X(EVP_DecryptFinal_ex)                                                                        \
    X(EVP_DecryptInit_ex)                                                                         \
    X(EVP_DecryptUpdate)                                                                          \
    X(EVP_Digest)                                                                                 \
    X(EVP_DigestFinal_ex)                                                                         \
    X(EVP_DigestInit_ex)                                                                          \
    X(EVP_DigestSign)                                                                             \
    X(EVP_DigestSignInit)                                                                         \
    X(EVP_DigestUpdate)                                                                           \
    X(EVP_DigestVerify)                                                                           \
    X(EVP_DigestVerifyInit)                                                                       \
    X(EVP_EncryptFinal_ex)                                                                        \
    X(EVP_EncryptInit_ex)                                                                         \
    X(EVP_EncryptUpdate)                                                                          \
    X(EVP_KDF_CTX_free)                                                                           \
    X(EVP_KDF_CTX_new)                                                                            \
    X(EVP_KDF_derive)                                                                             \
    X(EVP_KDF_fetch)                                                                              \
    X(EVP_KDF_free)                                                                               \
    X(EVP_MD_CTX_free)                                                                            \
    X(EVP_MD_CTX_new)                                                                             \
    X(EVP_MD_get_size)                                                                            \
    X(EVP_PKEY_CTX_free)                                                                          \
    X(EVP_PKEY_Q_keygen)                                                                          \
    X(EVP_PKEY_free)                                                                              \
    X(EVP_PKEY_get_id)                                                                            \
    X(EVP_aes_256_gcm)                                                                            \
    X(EVP_sha1)                                                                                   \
    X(EVP_sha256)                                                                                 \
    X(OPENSSL_cleanse)                                                                            \
    X(OSSL_PARAM_construct_end)                                                                   \
    X(OSSL_PARAM_construct_octet_string)                                                          \
    X(OSSL_PARAM_construct_utf8_string)                                                           \
    X(PEM_read_bio_PrivateKey)                                                                    \
    X(PEM_read_bio_X509)                                                                          \
    X(PEM_write_bio_PrivateKey)                                                                   \
    X(PEM_write_bio_X509)                                                                         \
    X(RAND_bytes)                                                                                 \
    X(X509_EXTENSION_free)                                                                        \
    X(X509_NAME_add_entry_by_txt)                                                                 \
    X(X509_NAME_print_ex)                                                                         \
    X(X509_add_ext)                                                                               \
    X(X509_check_private_key)                                                                     \
    X(X509_free)                                                                                  \
    X(X509_get0_pubkey)                                                                           \
    X(X509_get_serialNumber)                                                                      \
    X(X509_get_subject_name)                                                                      \
    X(X509_getm_notAfter)                                                                         \
    X(X509_getm_notBefore)                                                                        \
    X(X509_gmtime_adj)                                                                            \
    X(X509_new)                                                                                   \
    X(X509_set_issuer_name)                                                                       \
    X(X509_set_pubkey)                                                                            \
    X(X509_set_version)                                                                           \
    X(X509_sign)                                                                                  \
    X(X509_time_adj_ex)                                                                           \
    X(d2i_X509)                                                                                   \
    X(i2d_X509)                                                                                   \
    X(X509V3_set_ctx)                                                                             \
    X(X509V3_EXT_conf_nid)

struct LibCrypto {
    OVREL_LIBCRYPTO_FUNCTIONS(OVREL_LIBRARY_MEMBER)

    // Loads the library once; throws SharedLibraryError when it or one of the
    // functions is missing. Thread-safe.
    static const LibCrypto& get();
};

} // namespace ovrel
