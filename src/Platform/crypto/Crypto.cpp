#include "Platform/crypto/Crypto.h"

#include "Platform/crypto/LibCrypto.h"

#include <stdexcept>

namespace ovrel::Crypto {

namespace {

const unsigned char* bytes(QByteArrayView v) {
    return reinterpret_cast<const unsigned char*>(v.data());
}

struct CipherCtx {
    EVP_CIPHER_CTX* ctx = LibCrypto::get().EVP_CIPHER_CTX_new();
    ~CipherCtx() { LibCrypto::get().EVP_CIPHER_CTX_free(ctx); }
};

QByteArray digest(const EVP_MD* md, QByteArrayView input) {
    QByteArray out(LibCrypto::get().EVP_MD_get_size(md), Qt::Uninitialized);
    unsigned int len = 0;
    if (LibCrypto::get().EVP_Digest(input.data(), static_cast<size_t>(input.size()),
                   reinterpret_cast<unsigned char*>(out.data()), &len, md, nullptr) != 1)
        return {};
    out.resize(static_cast<qsizetype>(len));
    return out;
}

} // namespace

struct Sha256::Impl {
    EVP_MD_CTX* ctx = LibCrypto::get().EVP_MD_CTX_new();
    ~Impl() { LibCrypto::get().EVP_MD_CTX_free(ctx); }
};

Sha256::Sha256() : m_impl(std::make_unique<Impl>()) {
    LibCrypto::get().EVP_DigestInit_ex(m_impl->ctx, LibCrypto::get().EVP_sha256(), nullptr);
}

Sha256::~Sha256() = default;

void Sha256::update(QByteArrayView input) {
    LibCrypto::get().EVP_DigestUpdate(m_impl->ctx, input.data(), static_cast<size_t>(input.size()));
}

QByteArray Sha256::finish() {
    QByteArray out(32, Qt::Uninitialized);
    unsigned int len = 0;
    LibCrypto::get().EVP_DigestFinal_ex(m_impl->ctx, reinterpret_cast<unsigned char*>(out.data()), &len);
    LibCrypto::get().EVP_DigestInit_ex(m_impl->ctx, LibCrypto::get().EVP_sha256(), nullptr);
    return out;
}

QByteArray sha256(QByteArrayView input) {
    return digest(LibCrypto::get().EVP_sha256(), input);
}
QByteArray sha1(QByteArrayView input) {
    return digest(LibCrypto::get().EVP_sha1(), input);
}

QByteArray hkdfSha256(QByteArrayView inputKey, QByteArrayView salt, QByteArrayView info,
                      int length) {
    if (length <= 0 || length > 255 * 32)
        return {};
    EVP_KDF* kdf = LibCrypto::get().EVP_KDF_fetch(nullptr, "HKDF", nullptr);
    if (!kdf)
        return {};
    EVP_KDF_CTX* ctx = LibCrypto::get().EVP_KDF_CTX_new(kdf);
    LibCrypto::get().EVP_KDF_free(kdf);
    if (!ctx)
        return {};
    char digestName[] = "SHA256";
    // OpenSSL wants non-const pointers in OSSL_PARAM; it does not write through them.
    OSSL_PARAM params[5];
    int n = 0;
    params[n++] = LibCrypto::get().OSSL_PARAM_construct_utf8_string("digest", digestName, 0);
    // An empty view may carry a null pointer, which OpenSSL takes for a missing
    // parameter; RFC 5869 allows empty inputs, so point empty ones at a real byte.
    static char none = 0;
    const auto octets = [](const char* key, QByteArrayView v) {
        return LibCrypto::get().OSSL_PARAM_construct_octet_string(
            key, v.isEmpty() ? &none : const_cast<char*>(v.data()), static_cast<size_t>(v.size()));
    };
    params[n++] = octets("key", inputKey);
    params[n++] = octets("salt", salt);
    params[n++] = octets("info", info);
    params[n] = LibCrypto::get().OSSL_PARAM_construct_end();
    QByteArray out(length, Qt::Uninitialized);
    const int ok = LibCrypto::get().EVP_KDF_derive(ctx, reinterpret_cast<unsigned char*>(out.data()),
                                  static_cast<size_t>(length), params);
    LibCrypto::get().EVP_KDF_CTX_free(ctx);
    return ok == 1 ? out : QByteArray();
}

std::optional<GcmSealed> aesGcmSealDetached(QByteArrayView key, QByteArrayView nonce,
                                            QByteArrayView plaintext, QByteArrayView aad) {
    if (key.size() != kAesKeyBytes || nonce.size() != kGcmNonceBytes)
        return std::nullopt;
    CipherCtx c;
    int len = 0;
    if (!c.ctx || LibCrypto::get().EVP_EncryptInit_ex(c.ctx, LibCrypto::get().EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        LibCrypto::get().EVP_CIPHER_CTX_ctrl(c.ctx, EVP_CTRL_GCM_SET_IVLEN, kGcmNonceBytes, nullptr) != 1 ||
        LibCrypto::get().EVP_EncryptInit_ex(c.ctx, nullptr, nullptr, bytes(key), bytes(nonce)) != 1)
        return std::nullopt;
    if (!aad.isEmpty() &&
        LibCrypto::get().EVP_EncryptUpdate(c.ctx, nullptr, &len, bytes(aad), static_cast<int>(aad.size())) != 1)
        return std::nullopt;
    GcmSealed out;
    out.ciphertext.resize(plaintext.size());
    int written = 0;
    if (!plaintext.isEmpty()) {
        if (LibCrypto::get().EVP_EncryptUpdate(c.ctx, reinterpret_cast<unsigned char*>(out.ciphertext.data()),
                              &written, bytes(plaintext), static_cast<int>(plaintext.size())) != 1)
            return std::nullopt;
    }
    if (LibCrypto::get().EVP_EncryptFinal_ex(
            c.ctx, reinterpret_cast<unsigned char*>(out.ciphertext.data()) + written, &len) != 1)
        return std::nullopt;
    out.tag.resize(kGcmTagBytes);
    if (LibCrypto::get().EVP_CIPHER_CTX_ctrl(c.ctx, EVP_CTRL_GCM_GET_TAG, kGcmTagBytes, out.tag.data()) != 1)
        return std::nullopt;
    return out;
}

std::optional<QByteArray> aesGcmOpenDetached(QByteArrayView key, QByteArrayView nonce,
                                             QByteArrayView ciphertext, QByteArrayView tag,
                                             QByteArrayView aad) {
    if (key.size() != kAesKeyBytes || nonce.size() != kGcmNonceBytes || tag.size() != kGcmTagBytes)
        return std::nullopt;
    CipherCtx c;
    int len = 0;
    if (!c.ctx || LibCrypto::get().EVP_DecryptInit_ex(c.ctx, LibCrypto::get().EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1 ||
        LibCrypto::get().EVP_CIPHER_CTX_ctrl(c.ctx, EVP_CTRL_GCM_SET_IVLEN, kGcmNonceBytes, nullptr) != 1 ||
        LibCrypto::get().EVP_DecryptInit_ex(c.ctx, nullptr, nullptr, bytes(key), bytes(nonce)) != 1)
        return std::nullopt;
    if (!aad.isEmpty() &&
        LibCrypto::get().EVP_DecryptUpdate(c.ctx, nullptr, &len, bytes(aad), static_cast<int>(aad.size())) != 1)
        return std::nullopt;
    QByteArray plain(ciphertext.size(), Qt::Uninitialized);
    int written = 0;
    if (!ciphertext.isEmpty() &&
        LibCrypto::get().EVP_DecryptUpdate(c.ctx, reinterpret_cast<unsigned char*>(plain.data()), &written,
                          bytes(ciphertext), static_cast<int>(ciphertext.size())) != 1)
        return std::nullopt;
    QByteArray tagCopy = tag.toByteArray();
    if (LibCrypto::get().EVP_CIPHER_CTX_ctrl(c.ctx, EVP_CTRL_GCM_SET_TAG, kGcmTagBytes, tagCopy.data()) != 1)
        return std::nullopt;
    if (LibCrypto::get().EVP_DecryptFinal_ex(c.ctx, reinterpret_cast<unsigned char*>(plain.data()) + written,
                            &len) != 1)
        return std::nullopt;
    return plain;
}

QByteArray aesGcmSeal(QByteArrayView key, QByteArrayView plaintext, QByteArrayView nonce,
                      QByteArrayView aad) {
    const QByteArray iv = nonce.isEmpty() ? randomBytes(kGcmNonceBytes) : nonce.toByteArray();
    const auto sealed = aesGcmSealDetached(key, iv, plaintext, aad);
    if (!sealed)
        return {};
    return iv + sealed->ciphertext + sealed->tag;
}

std::optional<QByteArray> aesGcmOpen(QByteArrayView key, QByteArrayView combined,
                                     QByteArrayView aad) {
    if (combined.size() < kGcmNonceBytes + kGcmTagBytes)
        return std::nullopt;
    const auto nonce = combined.first(kGcmNonceBytes);
    const auto tag = combined.last(kGcmTagBytes);
    const auto body =
        combined.sliced(kGcmNonceBytes, combined.size() - kGcmNonceBytes - kGcmTagBytes);
    return aesGcmOpenDetached(key, nonce, body, tag, aad);
}

QByteArray randomBytes(int count) {
    if (count <= 0)
        return {};
    QByteArray out(count, Qt::Uninitialized);
    if (LibCrypto::get().RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), count) != 1)
        throw std::runtime_error("secure random generator failed");
    return out;
}

void wipe(QByteArray& bytes) {
    if (!bytes.isEmpty())
        LibCrypto::get().OPENSSL_cleanse(bytes.data(), static_cast<size_t>(bytes.size()));
    bytes.clear();
}

} // namespace ovrel::Crypto
