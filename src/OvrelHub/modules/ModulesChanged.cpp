#include "OvrelHub/modules/ModulesChanged.h"

#include "Platform/NotificationCenter.h"

namespace ovrel {

void postModulesChanged() {
    NotificationCenter::defaultCenter().post(QString::fromLatin1(ovrelModulesChanged));
}

} // namespace ovrel
