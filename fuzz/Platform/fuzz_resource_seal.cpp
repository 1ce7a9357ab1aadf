// Contents/_CodeSignature/CodeResources of a bundle, read before it is checked.
#include "FuzzSupport.h"
#include "Platform/codesign/ResourceSeal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ovrel::ResourceSeal::parse(ovrel::fuzz::bytes(data, size));
    return 0;
}
