#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/CatalogEntry.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QString>
#include <optional>

namespace ovrel {

// The texts the store shows for an entry: an installed module's manifest
// speaks for it; otherwise the catalog's texts for the language, else
// English, else Vietnamese, else nothing.
namespace StoreEntryText {

// Never empty: the module id when no name comes out.
QString name(const CatalogEntry& entry, const ModuleManifest* manifest, AppLanguage language);
QString summary(const CatalogEntry& entry, const ModuleManifest* manifest, AppLanguage language);
// The installed manifest's description when it has one, else the catalog's.
QString description(const CatalogEntry& entry, const ModuleManifest* manifest,
                    AppLanguage language);

// The catalog map's text by the rule above.
QString resolve(const CatalogTexts& texts, AppLanguage language);

} // namespace StoreEntryText

} // namespace ovrel
