// The code-signing requirement language.
#include "FuzzSupport.h"
#include "Platform/codesign/CompiledRequirement.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        ovrel::CompiledRequirement::compile(QString::fromUtf8(ovrel::fuzz::bytes(data, size)));
    } catch (const std::exception&) {
        // Refusing a text is the documented answer.
    }
    return 0;
}
