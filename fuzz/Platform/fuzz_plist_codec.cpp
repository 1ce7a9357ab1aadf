// Property lists: Info.plist, the signature files, user defaults, launch agents.
#include "FuzzSupport.h"
#include "Platform/plist/PlistCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // What was read can be written again (user defaults are read, changed
    // and written back).
    if (const auto value = ovrel::PlistCodec::parse(ovrel::fuzz::bytes(data, size)))
        ovrel::PlistCodec::parse(ovrel::PlistCodec::toXml(*value));
    return 0;
}
