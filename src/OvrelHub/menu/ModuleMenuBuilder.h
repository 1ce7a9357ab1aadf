#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/menu/ModuleMenuItem.h"
#include "OvrelHub/modules/InstalledPair.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QList>
#include <optional>

namespace ovrel {

// Turns installed modules into menu items: modules by id, each module's menu
// entries in manifest order; modules without entries contribute nothing.
class ModuleMenuBuilder {
public:
    static QList<ModuleMenuItem> items(const QList<InstalledPair>& pairs, AppLanguage language,
                                       const std::optional<ModulePaths>& paths);
};

// A localized text in the language, with the manifest's fallbacks ("" when none).
QString localizedText(const LocalizedText& text, AppLanguage language);

} // namespace ovrel
