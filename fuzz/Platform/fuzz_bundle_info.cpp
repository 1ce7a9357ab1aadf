// Contents/Info.plist of a bundle.
#include "FuzzSupport.h"
#include "Platform/bundle/BundleInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ovrel::BundleInfo::parse(ovrel::fuzz::bytes(data, size));
    return 0;
}
