#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <memory>
#include <optional>

namespace ovrel::Crypto {

// Incremental SHA-256 for data that arrives in pieces (downloads, bundles).
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(QByteArrayView bytes);
    QByteArray finish(); // 32 bytes; the object is reset afterwards

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

QByteArray sha256(QByteArrayView bytes);
QByteArray sha1(QByteArrayView bytes);

// HKDF-SHA256 (RFC 5869). Returns an empty array when length is out of range
// (more than 255 * 32 bytes) or the library refuses.
QByteArray hkdfSha256(QByteArrayView inputKey, QByteArrayView salt, QByteArrayView info,
                      int length);

constexpr int kGcmNonceBytes = 12;
constexpr int kGcmTagBytes = 16;
constexpr int kAesKeyBytes = 32;

// AES-256-GCM in the combined form: nonce (12) || ciphertext || tag (16).
// A fresh random nonce is used unless one is given. Empty on a bad key or nonce.
QByteArray aesGcmSeal(QByteArrayView key, QByteArrayView plaintext, QByteArrayView nonce = {},
                      QByteArrayView aad = {});
// Nothing when the key, the layout or the tag does not check out.
std::optional<QByteArray> aesGcmOpen(QByteArrayView key, QByteArrayView combined,
                                     QByteArrayView aad = {});

// The detached form, for callers that keep the pieces apart.
struct GcmSealed {
    QByteArray ciphertext;
    QByteArray tag;
};
std::optional<GcmSealed> aesGcmSealDetached(QByteArrayView key, QByteArrayView nonce,
                                            QByteArrayView plaintext, QByteArrayView aad);
std::optional<QByteArray> aesGcmOpenDetached(QByteArrayView key, QByteArrayView nonce,
                                             QByteArrayView ciphertext, QByteArrayView tag,
                                             QByteArrayView aad);

// Cryptographically secure random bytes; throws std::runtime_error if the
// generator fails (it never silently returns weak bytes).
QByteArray randomBytes(int count);

// Overwrites keys and plaintexts before their memory is released. Only this
// copy is cleared: an implicitly shared buffer is detached first.
void wipe(QByteArray& bytes);

} // namespace ovrel::Crypto
