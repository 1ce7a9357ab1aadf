#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <optional>

namespace ovrel {

// A certificate that signed a bundle, as the verifier sees it. Only Ed25519
// keys verify: anything else is treated as a signature that does not check.
class SigningCertificate {
public:
    // Nothing when the bytes are not exactly one DER X.509 certificate.
    static std::optional<SigningCertificate> fromDer(const QByteArray& der);

    // SHA-1 of DER bytes as 40 lowercase hex digits: what a requirement pins.
    static QString leafHash(const QByteArray& der);

    const QByteArray& der() const { return m_der; }
    QString leafHash() const { return leafHash(m_der); }
    QString subject() const;
    bool verify(QByteArrayView message, QByteArrayView signature) const;

private:
    struct Impl;
    SigningCertificate(QByteArray der, std::shared_ptr<const Impl> impl)
        : m_der(std::move(der)), m_impl(std::move(impl)) {}

    QByteArray m_der;
    std::shared_ptr<const Impl> m_impl;
};

} // namespace ovrel
