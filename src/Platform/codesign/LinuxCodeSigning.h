#pragma once

#include "Platform/codesign/CodeSigning.h"

namespace ovrel {

// Static code services over the bundle format of this project:
// Contents/_CodeSignature/CodeSignature signs a code directory hash that covers
// the identifier, Info.plist, the main executable and CodeResources, and
// CodeResources seals every other file. A check reports the first failure in
// this order: no readable signature (unsigned), signature or code directory
// mismatch (signature failed), seal broken (bad resource), requirement not met.
class LinuxCodeSigning : public CodeSigning {
public:
    OSStatus createStaticCode(const QString& path, CodeSigningFlags flags,
                              StaticCodeRef& code) const override;
    OSStatus createRequirement(const QString& text, CodeSigningFlags flags,
                               CodeRequirementRef& requirement) const override;
    OSStatus checkValidity(const StaticCode& code, CodeSigningFlags flags,
                           const CodeRequirement* requirement) const override;
    OSStatus copySigningInformation(const StaticCode& code,
                                    SigningInformation& information) const override;
};

} // namespace ovrel
