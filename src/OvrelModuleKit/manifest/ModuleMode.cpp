#include "OvrelModuleKit/manifest/ModuleMode.h"

namespace ovrel {

QString rawValue(ModuleMode mode) {
    return mode == ModuleMode::resident ? QStringLiteral("resident") : QStringLiteral("onDemand");
}

std::optional<ModuleMode> moduleModeFromRawValue(const QString& raw) {
    if (raw == u"onDemand")
        return ModuleMode::onDemand;
    if (raw == u"resident")
        return ModuleMode::resident;
    return std::nullopt;
}

} // namespace ovrel
