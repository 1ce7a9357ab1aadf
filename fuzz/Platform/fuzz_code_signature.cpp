// Contents/_CodeSignature/CodeSignature of a bundle, read before it is checked.
#include "FuzzSupport.h"
#include "Platform/codesign/CodeSignatureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ovrel::CodeSignatureFile::parse(ovrel::fuzz::bytes(data, size));
    return 0;
}
