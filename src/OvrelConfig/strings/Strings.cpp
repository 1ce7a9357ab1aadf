#include "OvrelConfig/strings/Strings.h"

namespace ovrel::Strings {

const StringTable& table(AppLanguage language) {
    switch (language) {
    case AppLanguage::vi:
        return vi();
    case AppLanguage::en:
        return en();
    case AppLanguage::zh:
        return zh();
    case AppLanguage::ja:
        return ja();
    case AppLanguage::ko:
        return ko();
    case AppLanguage::fr:
        return fr();
    case AppLanguage::es:
        return es();
    }
    // A value cast from outside the enumeration: the fallback language.
    return vi();
}

} // namespace ovrel::Strings
