#include "OvrelConfig/LocKey.h"

#include <array>

namespace ovrel {

namespace {

#define OVREL_LOC_KEY_NAME(name) #name,
#define OVREL_LOC_RENAMED_KEY_NAME(identifier, name) name,
constexpr std::array<const char*, kLocKeyCount> kNames{
    OVREL_LOC_KEYS(OVREL_LOC_KEY_NAME, OVREL_LOC_RENAMED_KEY_NAME)};
#undef OVREL_LOC_KEY_NAME
#undef OVREL_LOC_RENAMED_KEY_NAME

} // namespace

const char* locKeyName(LocKey key) {
    const int index = locKeyIndex(key);
    // A value cast from outside the enumeration has no name of its own.
    if (index < 0 || index >= kLocKeyCount)
        return "?";
    return kNames[static_cast<std::size_t>(index)];
}

} // namespace ovrel
