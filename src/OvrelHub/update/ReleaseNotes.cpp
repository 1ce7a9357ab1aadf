#include "OvrelHub/update/ReleaseNotes.h"

namespace ovrel {

QString ReleaseNotes::pick(const std::optional<QMap<QString, QString>>& notesByLang,
                           const QString& flat, AppLanguage language) {
    if (notesByLang) {
        for (const QString& code :
             {AppLanguages::rawValue(language), QStringLiteral("en"), QStringLiteral("vi")}) {
            const auto found = notesByLang->constFind(code);
            if (found != notesByLang->constEnd() && !found->trimmed().isEmpty())
                return *found;
        }
    }
    return flat.trimmed().isEmpty() ? QString() : flat;
}

} // namespace ovrel
