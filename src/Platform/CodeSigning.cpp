#include "Platform/CodeSigning.h"

#include "Platform/LinuxCodeSigning.h"

namespace ovrel {

const CodeSigning& CodeSigning::platform() {
    static const LinuxCodeSigning implementation;
    return implementation;
}

} // namespace ovrel
