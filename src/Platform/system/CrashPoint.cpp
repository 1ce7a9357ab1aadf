#include "Platform/system/CrashPoint.h"

#include <csignal>
#include <cstdlib>
#include <cstring>

namespace ovrel::CrashPoint {

void reach(const char* name) {
    static const char* const chosen = std::getenv("OVREL_CRASH_AT");
    if (chosen && std::strcmp(chosen, name) == 0)
        std::raise(SIGKILL);
}

} // namespace ovrel::CrashPoint
