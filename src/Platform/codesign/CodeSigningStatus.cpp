#include "Platform/codesign/CodeSigningStatus.h"

#include <array>

namespace ovrel::CodeSigningStatus {

namespace {

struct Known {
    OSStatus status;
    const char* name;
    const char* description;
};

constexpr std::array kKnown{
    Known{errSecSuccess, "errSecSuccess", "no error"},
    Known{errSecCSInvalidObjectRef, "errSecCSInvalidObjectRef", "invalid API object reference"},
    Known{errSecCSInvalidFlags, "errSecCSInvalidFlags",
          "invalid or inappropriate API flag(s) specified"},
    Known{errSecCSStaticCodeNotFound, "errSecCSStaticCodeNotFound",
          "cannot find code object on disk"},
    Known{errSecCSUnsigned, "errSecCSUnsigned", "code object is not signed at all"},
    Known{errSecCSSignatureFailed, "errSecCSSignatureFailed",
          "invalid signature (code or signature have been modified)"},
    Known{errSecCSBadResource, "errSecCSBadResource", "a sealed resource is missing or invalid"},
    Known{errSecCSReqInvalid, "errSecCSReqInvalid", "invalid or corrupted code requirement(s)"},
    Known{errSecCSReqFailed, "errSecCSReqFailed",
          "code failed to satisfy specified code requirement(s)"},
};

const Known* find(OSStatus status) {
    for (const Known& known : kKnown) {
        if (known.status == status)
            return &known;
    }
    return nullptr;
}

} // namespace

QString describe(OSStatus status) {
    const Known* known = find(status);
    return QString::fromLatin1(known ? known->description : "unknown status");
}

QString name(OSStatus status) {
    const Known* known = find(status);
    return known ? QString::fromLatin1(known->name) : QString();
}

} // namespace ovrel::CodeSigningStatus
