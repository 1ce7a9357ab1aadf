#pragma once

#include "Platform/codesign/CodeSigningStatus.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace ovrel {

// A bundle on disk opened as code. Opaque to callers: only the implementation
// that made it can use it.
class StaticCode {
public:
    virtual ~StaticCode() = default;
};

// A requirement compiled from its text.
class CodeRequirement {
public:
    virtual ~CodeRequirement() = default;
};

using StaticCodeRef = std::shared_ptr<const StaticCode>;
using CodeRequirementRef = std::shared_ptr<const CodeRequirement>;

using CodeSigningFlags = std::uint32_t;
namespace CodeSigningFlag {
constexpr CodeSigningFlags kDefault = 0;
constexpr CodeSigningFlags kCheckAllArchitectures = 1u << 0;
} // namespace CodeSigningFlag

// What a bundle's signature claims, read without validating anything.
struct SigningInformation {
    QString identifier;
    QString leafHash; // SHA-1 of the leaf certificate, 40 lowercase hex digits
    QString leafSubject;
    QByteArray codeDirectoryHash;
    QStringList files; // sealed paths relative to Contents, sorted
};

// Static code services: open a bundle as code, compile a requirement, check
// a bundle's signature, its seal and a requirement. Every call returns a status
// (errSecSuccess or one of CodeSigningStatus) and never throws.
class CodeSigning {
public:
    virtual ~CodeSigning() = default;

    virtual OSStatus createStaticCode(const QString& path, CodeSigningFlags flags,
                                      StaticCodeRef& code) const = 0;
    virtual OSStatus createRequirement(const QString& text, CodeSigningFlags flags,
                                       CodeRequirementRef& requirement) const = 0;
    // requirement may be null: then only the signature and the seal are checked.
    virtual OSStatus checkValidity(const StaticCode& code, CodeSigningFlags flags,
                                   const CodeRequirement* requirement) const = 0;
    virtual OSStatus copySigningInformation(const StaticCode& code,
                                            SigningInformation& information) const = 0;

    // The implementation of the running platform.
    static const CodeSigning& platform();
};

} // namespace ovrel
