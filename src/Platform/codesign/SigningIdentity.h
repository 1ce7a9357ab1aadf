#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

namespace ovrel {

// A private Ed25519 key and its self-signed code-signing certificate, kept in
// a directory as two PEM files (the key readable by its owner only).
// Every operation throws CodeSigningError.
class SigningIdentity {
public:
    static constexpr const char* kKeyFile = "key.pem";
    static constexpr const char* kCertificateFile = "certificate.pem";
    static constexpr int kValidityDays = 3650;

    static SigningIdentity create(const QString& commonName);
    static SigningIdentity load(const QString& directory);
    // Never overwrites an existing identity.
    void save(const QString& directory) const;

    const QByteArray& certificateDer() const { return m_certificateDer; }
    QString leafHash() const;
    QByteArray sign(QByteArrayView message) const;

private:
    struct Impl;
    SigningIdentity(std::shared_ptr<const Impl> impl, QByteArray certificateDer)
        : m_impl(std::move(impl)), m_certificateDer(std::move(certificateDer)) {}

    std::shared_ptr<const Impl> m_impl;
    QByteArray m_certificateDer;
};

} // namespace ovrel
