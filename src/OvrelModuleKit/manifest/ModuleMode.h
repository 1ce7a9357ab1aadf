#pragma once

#include <QString>
#include <optional>

namespace ovrel {

// Whether a module is launched when the user asks for it or kept running.
enum class ModuleMode { onDemand, resident };

// "onDemand" / "resident"; anything else (case matters) is no mode.
QString rawValue(ModuleMode mode);
std::optional<ModuleMode> moduleModeFromRawValue(const QString& raw);

} // namespace ovrel
