#include "Platform/codesign/LinuxCodeSigning.h"

#include "Platform/bundle/BundleDirectory.h"
#include "Platform/codesign/BundleLayout.h"
#include "Platform/codesign/CodeDirectory.h"
#include "Platform/codesign/CodeSignatureFile.h"
#include "Platform/codesign/CompiledRequirement.h"
#include "Platform/codesign/ResourceSeal.h"
#include "Platform/codesign/SigningCertificate.h"

namespace ovrel {

namespace {

using namespace CodeSigningStatus;

class BundleCode : public StaticCode {
public:
    explicit BundleCode(BundleDirectory bundle) : m_bundle(std::move(bundle)) {}
    const BundleDirectory& bundle() const { return m_bundle; }

private:
    BundleDirectory m_bundle;
};

struct ReadSignature {
    CodeSignatureFile file;
    SigningCertificate leaf;
};

// The signature as the bundle claims it; nothing means "not signed" (missing,
// not a regular file, malformed, or its leaf is no certificate).
std::optional<ReadSignature> readSignature(const BundleDirectory& bundle) {
    const auto bytes =
        bundle.readFile(QLatin1String(BundleLayout::kCodeSignature), CodeSignatureFile::kMaxBytes);
    if (!bytes)
        return std::nullopt;
    auto file = CodeSignatureFile::parse(*bytes);
    if (!file)
        return std::nullopt;
    auto leaf = SigningCertificate::fromDer(file->certificates.front());
    if (!leaf)
        return std::nullopt;
    return ReadSignature{std::move(*file), std::move(*leaf)};
}

OSStatus checkSignature(const BundleDirectory& bundle, const ReadSignature& signature,
                        QByteArray& codeResources) {
    const CodeSignatureFile& file = signature.file;
    if (!signature.leaf.verify(CodeDirectory::signedMessage(file.codeDirectoryHash),
                               file.signature))
        return errSecCSSignatureFailed;
    auto directory = CodeDirectory::compute(bundle, file.identifier);
    if (!directory || directory->hash != file.codeDirectoryHash)
        return errSecCSSignatureFailed;
    codeResources = std::move(directory->codeResources);
    return errSecSuccess;
}

OSStatus checkResources(const BundleDirectory& bundle, const QByteArray& codeResources) {
    const auto seal = ResourceSeal::parse(codeResources);
    if (!seal)
        return errSecCSBadResource;
    const BundleLayout layout = BundleLayout::scan(bundle);
    return seal->matches(bundle, layout) ? errSecSuccess : errSecCSBadResource;
}

} // namespace

OSStatus LinuxCodeSigning::createStaticCode(const QString& path, CodeSigningFlags flags,
                                            StaticCodeRef& code) const {
    code.reset();
    if (flags != CodeSigningFlag::kDefault)
        return errSecCSInvalidFlags;
    auto bundle = BundleDirectory::open(path);
    if (!bundle || !bundle->isDirectory(QLatin1String(BundleDirectory::kContents)))
        return errSecCSStaticCodeNotFound;
    code = std::make_shared<const BundleCode>(std::move(*bundle));
    return errSecSuccess;
}

OSStatus LinuxCodeSigning::createRequirement(const QString& text, CodeSigningFlags flags,
                                             CodeRequirementRef& requirement) const {
    requirement.reset();
    if (flags != CodeSigningFlag::kDefault)
        return errSecCSInvalidFlags;
    requirement = CompiledRequirement::compile(text);
    return requirement ? errSecSuccess : errSecCSReqInvalid;
}

OSStatus LinuxCodeSigning::checkValidity(const StaticCode& code, CodeSigningFlags flags,
                                         const CodeRequirement* requirement) const {
    // One architecture per executable here: checking "all" is the default check.
    if ((flags & ~CodeSigningFlag::kCheckAllArchitectures) != 0)
        return errSecCSInvalidFlags;
    const auto* bundleCode = dynamic_cast<const BundleCode*>(&code);
    const auto* compiled = dynamic_cast<const CompiledRequirement*>(requirement);
    if (!bundleCode || (requirement && !compiled))
        return errSecCSInvalidObjectRef;
    const BundleDirectory& bundle = bundleCode->bundle();

    const auto signature = readSignature(bundle);
    if (!signature)
        return errSecCSUnsigned;
    QByteArray codeResources;
    if (const OSStatus status = checkSignature(bundle, *signature, codeResources);
        status != errSecSuccess)
        return status;
    if (const OSStatus status = checkResources(bundle, codeResources); status != errSecSuccess)
        return status;
    if (compiled &&
        !compiled->isSatisfiedBy(signature->file.identifier, signature->leaf.leafHash()))
        return errSecCSReqFailed;
    return errSecSuccess;
}

OSStatus LinuxCodeSigning::copySigningInformation(const StaticCode& code,
                                                  SigningInformation& information) const {
    information = {};
    const auto* bundleCode = dynamic_cast<const BundleCode*>(&code);
    if (!bundleCode)
        return errSecCSInvalidObjectRef;
    const BundleDirectory& bundle = bundleCode->bundle();
    const auto signature = readSignature(bundle);
    if (!signature)
        return errSecCSUnsigned;
    information.identifier = signature->file.identifier;
    information.leafHash = signature->leaf.leafHash();
    information.leafSubject = signature->leaf.subject();
    information.codeDirectoryHash = signature->file.codeDirectoryHash;
    const auto resources =
        bundle.readFile(QLatin1String(BundleLayout::kCodeResources), ResourceSeal::kMaxBytes);
    if (const auto seal = resources ? ResourceSeal::parse(*resources) : std::nullopt)
        information.files = seal->items().keys();
    return errSecSuccess;
}

} // namespace ovrel
