#include "Platform/codesign/SigningIdentity.h"

#include "Platform/codesign/CodeSigningError.h"
#include "Platform/codesign/OpenSslHandles.h"
#include "Platform/codesign/SigningCertificate.h"
#include "Platform/crypto/Crypto.h"
#include "Platform/crypto/LibCrypto.h"
#include "Platform/files/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ovrel {

struct SigningIdentity::Impl {
    OpenSsl::Pkey key;
};

namespace {

constexpr qint64 kMaxPemBytes = 64 * 1024;
constexpr int kSerialBytes = 16;

struct BioFree {
    void operator()(BIO* b) const { LibCrypto::get().BIO_free(b); }
};
using Bio = std::unique_ptr<BIO, BioFree>;

[[noreturn]] void fail(CodeSigningError::Kind kind, const QString& detail) {
    LibCrypto::get().ERR_clear_error();
    throw CodeSigningError(kind, detail);
}

QByteArray derOf(X509* certificate) {
    const int length = LibCrypto::get().i2d_X509(certificate, nullptr);
    if (length <= 0)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("certificate encoding"));
    QByteArray der(length, Qt::Uninitialized);
    auto* out = reinterpret_cast<unsigned char*>(der.data());
    LibCrypto::get().i2d_X509(certificate, &out);
    return der;
}

QByteArray bioBytes(BIO* bio) {
    char* data = nullptr;
    const long length = LibCrypto::get().BIO_ctrl(bio, BIO_CTRL_INFO, 0, reinterpret_cast<char*>(&data));
    return QByteArray(data, static_cast<qsizetype>(length));
}

QByteArray readSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPemBytes)
        fail(CodeSigningError::Kind::identityUnreadable, path);
    return file.read(kMaxPemBytes);
}

Bio memoryOf(const QByteArray& bytes) {
    return Bio(LibCrypto::get().BIO_new_mem_buf(bytes.constData(), static_cast<int>(bytes.size())));
}

void setRandomSerial(X509* certificate) {
    QByteArray serial = Crypto::randomBytes(kSerialBytes);
    serial[0] = static_cast<char>(serial[0] & 0x7f); // positive, as the standard asks
    BIGNUM* number = LibCrypto::get().BN_bin2bn(reinterpret_cast<const unsigned char*>(serial.constData()),
                               kSerialBytes, nullptr);
    const bool ok = number && LibCrypto::get().BN_to_ASN1_INTEGER(number, LibCrypto::get().X509_get_serialNumber(certificate));
    LibCrypto::get().BN_free(number);
    if (!ok)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("serial number"));
}

void addExtension(X509* certificate, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    LibCrypto::get().X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = LibCrypto::get().X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    const bool ok = extension && LibCrypto::get().X509_add_ext(certificate, extension, -1) == 1;
    LibCrypto::get().X509_EXTENSION_free(extension);
    if (!ok)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("certificate extension"));
}

OpenSsl::Certificate makeCertificate(EVP_PKEY* key, const QString& commonName) {
    OpenSsl::Certificate certificate(LibCrypto::get().X509_new());
    if (!certificate || LibCrypto::get().X509_set_version(certificate.get(), 2) != 1)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("certificate"));
    setRandomSerial(certificate.get());
    LibCrypto::get().X509_gmtime_adj(LibCrypto::get().X509_getm_notBefore(certificate.get()), 0);
    LibCrypto::get().X509_time_adj_ex(LibCrypto::get().X509_getm_notAfter(certificate.get()), SigningIdentity::kValidityDays, 0,
                     nullptr);
    X509_NAME* name = LibCrypto::get().X509_get_subject_name(certificate.get());
    const QByteArray cn = commonName.toUtf8();
    if (LibCrypto::get().X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char*>(cn.constData()),
                                   static_cast<int>(cn.size()), -1, 0) != 1 ||
        LibCrypto::get().X509_set_issuer_name(certificate.get(), name) != 1 ||
        LibCrypto::get().X509_set_pubkey(certificate.get(), key) != 1)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("certificate name or key"));
    addExtension(certificate.get(), NID_basic_constraints, "critical,CA:FALSE");
    addExtension(certificate.get(), NID_key_usage, "critical,digitalSignature");
    addExtension(certificate.get(), NID_ext_key_usage, "critical,codeSigning");
    addExtension(certificate.get(), NID_subject_key_identifier, "hash");
    // Ed25519 signs the whole message itself: no separate digest.
    if (LibCrypto::get().X509_sign(certificate.get(), key, nullptr) <= 0)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("certificate signature"));
    return certificate;
}

} // namespace

SigningIdentity SigningIdentity::create(const QString& commonName) {
    if (commonName.trimmed().isEmpty())
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("empty certificate name"));
    OpenSsl::Pkey key(LibCrypto::get().EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"));
    if (!key)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("key generation"));
    const OpenSsl::Certificate certificate = makeCertificate(key.get(), commonName);
    auto impl = std::make_shared<Impl>();
    impl->key = std::move(key);
    return SigningIdentity(std::move(impl), derOf(certificate.get()));
}

SigningIdentity SigningIdentity::load(const QString& directory) {
    const QDir dir(directory);
    const QString keyPath = dir.filePath(QLatin1String(kKeyFile));
    const QString certificatePath = dir.filePath(QLatin1String(kCertificateFile));
    const QByteArray keyPem = readSmallFile(keyPath);
    const QByteArray certificatePem = readSmallFile(certificatePath);

    const Bio keyBio = memoryOf(keyPem);
    OpenSsl::Pkey key(keyBio ? LibCrypto::get().PEM_read_bio_PrivateKey(keyBio.get(), nullptr, nullptr, nullptr)
                             : nullptr);
    if (!key || LibCrypto::get().EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519)
        fail(CodeSigningError::Kind::identityUnreadable, keyPath);
    const Bio certificateBio = memoryOf(certificatePem);
    OpenSsl::Certificate certificate(
        certificateBio ? LibCrypto::get().PEM_read_bio_X509(certificateBio.get(), nullptr, nullptr, nullptr)
                       : nullptr);
    if (!certificate)
        fail(CodeSigningError::Kind::identityUnreadable, certificatePath);
    if (LibCrypto::get().X509_check_private_key(certificate.get(), key.get()) != 1)
        fail(CodeSigningError::Kind::identityUnreadable,
             QStringLiteral("the key does not belong to the certificate in ") + directory);
    auto impl = std::make_shared<Impl>();
    impl->key = std::move(key);
    return SigningIdentity(std::move(impl), derOf(certificate.get()));
}

void SigningIdentity::save(const QString& directory) const {
    const QDir dir(directory);
    const QString keyPath = dir.filePath(QLatin1String(kKeyFile));
    const QString certificatePath = dir.filePath(QLatin1String(kCertificateFile));
    for (const QString& path : {keyPath, certificatePath}) {
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            fail(CodeSigningError::Kind::identityExists, path);
    }

    const Bio keyBio(LibCrypto::get().BIO_new(LibCrypto::get().BIO_s_mem()));
    if (!keyBio || LibCrypto::get().PEM_write_bio_PrivateKey(keyBio.get(), m_impl->key.get(), nullptr, nullptr, 0,
                                            nullptr, nullptr) != 1)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("key encoding"));
    const auto* cursor = reinterpret_cast<const unsigned char*>(m_certificateDer.constData());
    const OpenSsl::Certificate certificate(
        LibCrypto::get().d2i_X509(nullptr, &cursor, static_cast<long>(m_certificateDer.size())));
    const Bio certificateBio(LibCrypto::get().BIO_new(LibCrypto::get().BIO_s_mem()));
    if (!certificate || !certificateBio ||
        LibCrypto::get().PEM_write_bio_X509(certificateBio.get(), certificate.get()) != 1)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("certificate encoding"));

    try {
        AtomicFile::write(keyPath, bioBytes(keyBio.get()),
                          {.fileMode = 0600, .directoryMode = 0700});
    } catch (const FileError& error) {
        fail(CodeSigningError::Kind::writeFailed, error.description());
    }
    try {
        AtomicFile::write(certificatePath, bioBytes(certificateBio.get()),
                          {.fileMode = 0644, .directoryMode = std::nullopt});
    } catch (const FileError& error) {
        // A key without its certificate is no identity and would block the next try.
        QFile::remove(keyPath);
        fail(CodeSigningError::Kind::writeFailed, error.description());
    }
}

QString SigningIdentity::leafHash() const {
    return SigningCertificate::leafHash(m_certificateDer);
}

QByteArray SigningIdentity::sign(QByteArrayView message) const {
    OpenSsl::MdCtx context(LibCrypto::get().EVP_MD_CTX_new());
    size_t length = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(message.data());
    const auto size = static_cast<size_t>(message.size());
    if (!context ||
        LibCrypto::get().EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, m_impl->key.get()) != 1 ||
        LibCrypto::get().EVP_DigestSign(context.get(), nullptr, &length, data, size) != 1)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("signature"));
    QByteArray signature(static_cast<qsizetype>(length), Qt::Uninitialized);
    if (LibCrypto::get().EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                       data, size) != 1)
        fail(CodeSigningError::Kind::cryptoFailed, QStringLiteral("signature"));
    signature.truncate(static_cast<qsizetype>(length));
    return signature;
}

} // namespace ovrel
