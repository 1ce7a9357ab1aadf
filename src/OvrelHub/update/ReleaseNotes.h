#pragma once

#include "OvrelConfig/AppLanguage.h"

#include <QMap>
#include <QString>
#include <optional>

namespace ovrel {

// Which release notes to show: the interface language's, else English, else
// Vietnamese (the first that is not blank), else the flat notes; "" when all
// are blank.
namespace ReleaseNotes {

QString pick(const std::optional<QMap<QString, QString>>& notesByLang, const QString& flat,
             AppLanguage language);

} // namespace ReleaseNotes

} // namespace ovrel
