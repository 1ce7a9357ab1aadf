// "modules-state.json".
#include "FuzzSupport.h"
#include "OvrelHub/modules/ModulesState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // What was read is written back by the next change.
    ovrel::ModulesState::decode(ovrel::fuzz::bytes(data, size)).state.encode();
    return 0;
}
