#include "Platform/codesign/CodeSigner.h"

#include "Platform/bundle/BundleDirectory.h"
#include "Platform/bundle/BundleInfo.h"
#include "Platform/codesign/BundleLayout.h"
#include "Platform/codesign/CodeDirectory.h"
#include "Platform/codesign/CodeSignatureFile.h"
#include "Platform/codesign/CodeSigningError.h"
#include "Platform/codesign/ResourceSeal.h"
#include "Platform/files/AtomicFile.h"

#include <QDir>

namespace ovrel::CodeSigner {

namespace {

using Kind = CodeSigningError::Kind;

BundleInfo readInfo(const BundleDirectory& bundle) {
    const QString path = QLatin1String(BundleLayout::kInfoPlist);
    const auto bytes = bundle.readFile(path, BundleInfo::kMaxBytes);
    if (!bytes)
        throw CodeSigningError(Kind::infoPlistInvalid,
                               path +
                                   QStringLiteral(" is missing, not a regular file or too large"));
    auto info = BundleInfo::parse(*bytes);
    if (!info)
        throw CodeSigningError(Kind::infoPlistInvalid,
                               path + QStringLiteral(" names no usable CFBundleExecutable"));
    return *info;
}

void checkLayout(const BundleLayout& layout) {
    switch (layout.problem) {
    case BundleLayout::Problem::none:
        return;
    case BundleLayout::Problem::unreadable:
        throw CodeSigningError(Kind::bundleUnreadable, layout.problemPath);
    case BundleLayout::Problem::strayEntry:
    case BundleLayout::Problem::unsupportedEntry:
        throw CodeSigningError(Kind::unsupportedEntry, layout.problemPath);
    case BundleLayout::Problem::escapingSymlink:
        throw CodeSigningError(Kind::escapingSymlink, layout.problemPath);
    }
}

void writeInside(const QString& bundle, const char* relative, const QByteArray& bytes) {
    try {
        AtomicFile::write(QDir(bundle).filePath(QLatin1String(relative)), bytes);
    } catch (const FileError& error) {
        throw CodeSigningError(Kind::writeFailed, error.description());
    }
}

} // namespace

void sign(const QString& bundlePath, const SigningIdentity& identity, const QString& identifier) {
    const auto bundle = BundleDirectory::open(bundlePath);
    if (!bundle || !bundle->isDirectory(QLatin1String(BundleDirectory::kContents)))
        throw CodeSigningError(Kind::bundleUnreadable, bundlePath);
    const BundleInfo info = readInfo(*bundle);
    const QString signingIdentifier = identifier.isEmpty() ? info.identifier : identifier;
    if (signingIdentifier.isEmpty() ||
        signingIdentifier.size() > CodeSignatureFile::kMaxIdentifierLength)
        throw CodeSigningError(Kind::infoPlistInvalid,
                               QStringLiteral("no usable signing identifier (CFBundleIdentifier)"));
    if (!bundle->openFile(info.executablePath()))
        throw CodeSigningError(Kind::executableMissing, info.executablePath());

    const BundleLayout layout = BundleLayout::scan(*bundle);
    checkLayout(layout);
    const auto seal = ResourceSeal::make(*bundle, layout);
    if (!seal)
        throw CodeSigningError(Kind::bundleUnreadable, QStringLiteral("a sealed file"));
    const QByteArray resources = seal->toPlist();
    if (resources.size() > ResourceSeal::kMaxBytes)
        throw CodeSigningError(Kind::unsupportedEntry, QStringLiteral("too many files to seal"));
    writeInside(bundlePath, BundleLayout::kCodeResources, resources);

    // Hash what is on disk now, exactly as a verifier will read it.
    const auto directory = CodeDirectory::compute(*bundle, signingIdentifier);
    if (!directory || directory->codeResources != resources)
        throw CodeSigningError(Kind::bundleUnreadable,
                               QStringLiteral("the bundle changed while it was being signed"));
    CodeSignatureFile signature;
    signature.identifier = signingIdentifier;
    signature.codeDirectoryHash = directory->hash;
    signature.certificates = {identity.certificateDer()};
    signature.signature = identity.sign(CodeDirectory::signedMessage(directory->hash));
    writeInside(bundlePath, BundleLayout::kCodeSignature, signature.toPlist());
}

} // namespace ovrel::CodeSigner
