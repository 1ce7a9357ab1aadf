#include "Platform/codesign/CodeSigning.h"

#include "Platform/codesign/LinuxCodeSigning.h"

namespace ovrel {

const CodeSigning& CodeSigning::platform() {
    static const LinuxCodeSigning implementation;
    return implementation;
}

} // namespace ovrel
