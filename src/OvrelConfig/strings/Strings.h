#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/StringTable.h"

// The built-in text tables, one per interface language, each complete over all
// keys. Each is built on first use (thread-safe) and then shared read-only.
namespace ovrel::Strings {

const StringTable& vi();
const StringTable& en();
const StringTable& zh();
const StringTable& ja();
const StringTable& ko();
const StringTable& fr();
const StringTable& es();

const StringTable& table(AppLanguage language);

} // namespace ovrel::Strings
