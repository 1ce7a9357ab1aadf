#include "Platform/codesign/CodeSigningStatus.h"

namespace ovrel::CodeSigningStatus {

QString describe(OSStatus status) {
    switch (status) {
    case errSecSuccess:
        return QStringLiteral("no error");
    case errSecCSInvalidObjectRef:
        return QStringLiteral("invalid API object reference");
    case errSecCSInvalidFlags:
        return QStringLiteral("invalid or inappropriate API flag(s) specified");
    case errSecCSStaticCodeNotFound:
        return QStringLiteral("cannot find code object on disk");
    case errSecCSUnsigned:
        return QStringLiteral("code object is not signed at all");
    case errSecCSSignatureFailed:
        return QStringLiteral("invalid signature (code or signature have been modified)");
    case errSecCSBadResource:
        return QStringLiteral("a sealed resource is missing or invalid");
    case errSecCSReqInvalid:
        return QStringLiteral("invalid or corrupted code requirement(s)");
    case errSecCSReqFailed:
        return QStringLiteral("code failed to satisfy specified code requirement(s)");
    default:
        return QStringLiteral("unknown status");
    }
}

QString name(OSStatus status) {
    switch (status) {
    case errSecSuccess:
        return QStringLiteral("errSecSuccess");
    case errSecCSInvalidObjectRef:
        return QStringLiteral("errSecCSInvalidObjectRef");
    case errSecCSInvalidFlags:
        return QStringLiteral("errSecCSInvalidFlags");
    case errSecCSStaticCodeNotFound:
        return QStringLiteral("errSecCSStaticCodeNotFound");
    case errSecCSUnsigned:
        return QStringLiteral("errSecCSUnsigned");
    case errSecCSSignatureFailed:
        return QStringLiteral("errSecCSSignatureFailed");
    case errSecCSBadResource:
        return QStringLiteral("errSecCSBadResource");
    case errSecCSReqInvalid:
        return QStringLiteral("errSecCSReqInvalid");
    case errSecCSReqFailed:
        return QStringLiteral("errSecCSReqFailed");
    default:
        return {};
    }
}

} // namespace ovrel::CodeSigningStatus
