#include "Platform/codesign/CodeSignatureFile.h"

#include "Platform/codesign/CodeDirectory.h"
#include "Platform/plist/PlistCodec.h"

#include <QVariantList>
#include <QVariantMap>

namespace ovrel {

namespace {

const QString kIdentifier = QStringLiteral("identifier");
const QString kCodeDirectoryHash = QStringLiteral("codeDirectoryHash");
const QString kCertificates = QStringLiteral("certificates");
const QString kSignature = QStringLiteral("signature");

std::optional<QByteArray> nonEmptyData(const QVariant& value) {
    if (value.metaType().id() != QMetaType::QByteArray || value.toByteArray().isEmpty())
        return std::nullopt;
    return value.toByteArray();
}

} // namespace

std::optional<CodeSignatureFile> CodeSignatureFile::parse(const QByteArray& plist) {
    const auto root = PlistCodec::parse(plist);
    if (!root || root->metaType().id() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap map = root->toMap();
    CodeSignatureFile file;

    const QVariant identifier = map.value(kIdentifier);
    if (identifier.metaType().id() != QMetaType::QString || identifier.toString().isEmpty() ||
        identifier.toString().size() > kMaxIdentifierLength)
        return std::nullopt;
    file.identifier = identifier.toString();

    const auto hash = nonEmptyData(map.value(kCodeDirectoryHash));
    if (!hash || hash->size() != CodeDirectory::kHashBytes)
        return std::nullopt;
    file.codeDirectoryHash = *hash;

    const QVariant certificates = map.value(kCertificates);
    if (certificates.metaType().id() != QMetaType::QVariantList)
        return std::nullopt;
    const QVariantList list = certificates.toList();
    if (list.isEmpty() || list.size() > kMaxCertificates)
        return std::nullopt;
    for (const QVariant& item : list) {
        const auto der = nonEmptyData(item);
        if (!der)
            return std::nullopt;
        file.certificates.append(*der);
    }

    const auto signature = nonEmptyData(map.value(kSignature));
    if (!signature)
        return std::nullopt;
    file.signature = *signature;
    return file;
}

QByteArray CodeSignatureFile::toPlist() const {
    QVariantList certificateList;
    for (const QByteArray& der : certificates)
        certificateList.append(der);
    return PlistCodec::toXml(QVariantMap{{kIdentifier, identifier},
                                         {kCodeDirectoryHash, codeDirectoryHash},
                                         {kCertificates, certificateList},
                                         {kSignature, signature}});
}

} // namespace ovrel
