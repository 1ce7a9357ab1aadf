#include "Platform/codesign/SigningCertificate.h"

#include "Platform/codesign/OpenSslHandles.h"
#include "Platform/crypto/Crypto.h"
#include "Platform/crypto/LibCrypto.h"

namespace ovrel {

struct SigningCertificate::Impl {
    OpenSsl::Certificate certificate;
};

std::optional<SigningCertificate> SigningCertificate::fromDer(const QByteArray& der) {
    const auto* cursor = reinterpret_cast<const unsigned char*>(der.constData());
    OpenSsl::Certificate certificate(LibCrypto::get().d2i_X509(nullptr, &cursor, static_cast<long>(der.size())));
    const auto consumed = cursor - reinterpret_cast<const unsigned char*>(der.constData());
    if (!certificate || consumed != der.size()) {
        LibCrypto::get().ERR_clear_error();
        return std::nullopt;
    }
    auto impl = std::make_shared<Impl>();
    impl->certificate = std::move(certificate);
    return SigningCertificate(der, std::move(impl));
}

QString SigningCertificate::leafHash(const QByteArray& der) {
    return QString::fromLatin1(Crypto::sha1(der).toHex());
}

QString SigningCertificate::subject() const {
    const X509_NAME* name = LibCrypto::get().X509_get_subject_name(m_impl->certificate.get());
    BIO* bio = LibCrypto::get().BIO_new(LibCrypto::get().BIO_s_mem());
    if (!bio)
        return {};
    LibCrypto::get().X509_NAME_print_ex(bio, name, 0, XN_FLAG_RFC2253);
    char* data = nullptr;
    const long length = LibCrypto::get().BIO_ctrl(bio, BIO_CTRL_INFO, 0, reinterpret_cast<char*>(&data));
    QString text = QString::fromUtf8(data, static_cast<qsizetype>(length));
    LibCrypto::get().BIO_free(bio);
    return text;
}

bool SigningCertificate::verify(QByteArrayView message, QByteArrayView signature) const {
    EVP_PKEY* key = LibCrypto::get().X509_get0_pubkey(m_impl->certificate.get());
    if (!key || LibCrypto::get().EVP_PKEY_get_id(key) != EVP_PKEY_ED25519)
        return false;
    OpenSsl::MdCtx context(LibCrypto::get().EVP_MD_CTX_new());
    if (!context || LibCrypto::get().EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key) != 1)
        return false;
    const bool valid =
        LibCrypto::get().EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                         static_cast<size_t>(signature.size()),
                         reinterpret_cast<const unsigned char*>(message.data()),
                         static_cast<size_t>(message.size())) == 1;
    // A failed check leaves entries on this thread's error queue; drop them.
    LibCrypto::get().ERR_clear_error();
    return valid;
}

} // namespace ovrel
