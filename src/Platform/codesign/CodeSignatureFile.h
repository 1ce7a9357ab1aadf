#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace ovrel {

// Contents/_CodeSignature/CodeSignature: who signed the bundle and what.
//   "identifier"        the signing identifier
//   "codeDirectoryHash" the code directory hash (32 bytes)
//   "certificates"      DER certificates, leaf first
//   "signature"         the leaf key's signature over the code directory
struct CodeSignatureFile {
    QString identifier;
    QByteArray codeDirectoryHash;
    QList<QByteArray> certificates;
    QByteArray signature;

    static constexpr qint64 kMaxBytes = 1024 * 1024;
    static constexpr qsizetype kMaxCertificates = 8;
    static constexpr qsizetype kMaxIdentifierLength = 1024;

    // Nothing when a key is missing, has the wrong type or an impossible value.
    static std::optional<CodeSignatureFile> parse(const QByteArray& plist);
    QByteArray toPlist() const;
};

} // namespace ovrel
