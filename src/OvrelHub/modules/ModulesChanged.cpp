#include "OvrelHub/modules/ModulesChanged.h"

#include "Platform/notify/NotificationCenter.h"

namespace ovrel {

void postModulesChanged() {
    NotificationCenter::defaultCenter().post(QString::fromLatin1(ovrelModulesChanged));
}

} // namespace ovrel
