#pragma once

#include "OvrelConfig/AppLanguage.h"

#include <functional>

namespace ovrel {

// The one place every component asks for the current interface language. The
// hub installs a provider that reads its stored setting; until then the system
// language is used.
class HubLanguage {
public:
    using Provider = std::function<AppLanguage()>;

    static AppLanguage current();

    // Replaces the provider; an empty function restores the system default.
    static void setProvider(Provider provider);
};

} // namespace ovrel
