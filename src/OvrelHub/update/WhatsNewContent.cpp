#include "OvrelHub/update/WhatsNewContent.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/update/ReleaseNotes.h"

namespace ovrel {

WhatsNewContent WhatsNewContent::of(const UpdateRelease& release, AppLanguage language) {
    WhatsNewContent content;
    content.title = Loc::t(LocKey::whatsNewTitle, language);
    content.version = Loc::format(LocKey::whatsNewVersionFormat, language, {release.version});
    if (release.publishedAt && !release.publishedAt->isEmpty())
        content.date = release.publishedAt->left(10);
    content.notes = ReleaseNotes::pick(release.notesByLang, release.notes, language);
    if (content.notes.isEmpty())
        content.notes = QStringLiteral("—");
    content.download = Loc::t(LocKey::downloadUpdate, language);
    content.later = Loc::t(LocKey::updateLater, language);
    return content;
}

} // namespace ovrel
