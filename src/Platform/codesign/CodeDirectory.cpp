#include "Platform/codesign/CodeDirectory.h"

#include "Platform/bundle/BundleInfo.h"
#include "Platform/codesign/BundleLayout.h"
#include "Platform/codesign/ResourceSeal.h"

#include <QtEndian>

namespace ovrel::CodeDirectory {

namespace {

constexpr char kTag[] = "OVRELCD1";
constexpr char kSignatureContext[] = "vn.ovrel.codesign.v1 code directory";

void addLength(Crypto::Sha256& hash, quint64 length) {
    unsigned char bytes[8];
    qToBigEndian(length, bytes);
    hash.update(QByteArrayView(reinterpret_cast<const char*>(bytes), 8));
}

void addPiece(Crypto::Sha256& hash, const QByteArray& piece) {
    addLength(hash, static_cast<quint64>(piece.size()));
    hash.update(piece);
}

} // namespace

std::optional<Computed> compute(const BundleDirectory& bundle, const QString& identifier) {
    const auto infoPlist =
        bundle.readFile(QLatin1String(BundleLayout::kInfoPlist), BundleInfo::kMaxBytes);
    if (!infoPlist)
        return std::nullopt;
    const auto info = BundleInfo::parse(*infoPlist);
    if (!info)
        return std::nullopt;
    auto codeResources =
        bundle.readFile(QLatin1String(BundleLayout::kCodeResources), ResourceSeal::kMaxBytes);
    if (!codeResources)
        return std::nullopt;
    const auto executable = bundle.openFile(info->executablePath());
    if (!executable)
        return std::nullopt;

    Crypto::Sha256 hash;
    hash.update(QByteArrayView(kTag, sizeof kTag - 1));
    addPiece(hash, identifier.toUtf8());
    addPiece(hash, *infoPlist);
    addPiece(hash, *codeResources);
    addLength(hash, static_cast<quint64>(executable->size));
    if (!BundleDirectory::feed(*executable, hash))
        return std::nullopt;
    return Computed{hash.finish(), std::move(*codeResources)};
}

QByteArray signedMessage(const QByteArray& hash) {
    // The terminating NUL separates the context from the hash.
    return QByteArray(kSignatureContext, sizeof kSignatureContext) + hash;
}

} // namespace ovrel::CodeDirectory
