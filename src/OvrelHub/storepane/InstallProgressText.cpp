#include "OvrelHub/storepane/InstallProgressText.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/store/InstallProgress.h"

#include <QLocale>

namespace ovrel::InstallProgressText {

QString byteCount(qint64 bytes, AppLanguage language) {
    const QLocale locale(AppLanguages::rawValue(language));
    return locale.formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString text(const InstallProgress& progress, AppLanguage language) {
    switch (progress.step()) {
    case InstallProgress::Step::waiting:
    case InstallProgress::Step::installing:
        return Loc::t(LocKey::appsInstalling, language);
    case InstallProgress::Step::downloading:
        if (progress.bytesTotal() > 0)
            return Loc::format(LocKey::appsDownloadProgressFormat, language,
                               {byteCount(progress.bytesReceived(), language),
                                byteCount(progress.bytesTotal(), language)});
        return Loc::format(LocKey::appsDownloadingFormat, language,
                           {byteCount(progress.bytesReceived(), language)});
    case InstallProgress::Step::verifying:
        return Loc::t(LocKey::appsVerifyingDownload, language);
    case InstallProgress::Step::unpacking:
        return Loc::t(LocKey::appsUnpacking, language);
    }
    return Loc::t(LocKey::appsInstalling, language);
}

} // namespace ovrel::InstallProgressText
