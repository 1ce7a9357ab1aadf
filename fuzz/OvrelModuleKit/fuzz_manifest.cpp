// Contents/Resources/manifest.json of a bundle.
#include "FuzzSupport.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        ovrel::ModuleManifest::load(ovrel::fuzz::bytes(data, size), QStringLiteral("clock"));
    } catch (const ovrel::ManifestError&) {
        // Refusing a manifest is the documented answer.
    }
    return 0;
}
