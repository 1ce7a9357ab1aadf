#include "OvrelLite/commandline/InstallFailureText.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/store/InstallError.h"

namespace ovrel::InstallFailureText {

namespace {

struct Explained {
    QString reason;
    QString detail;

    QString withDetail(const QString& first) const {
        return detail.isEmpty() ? first : first + QStringLiteral("\n  ") + detail;
    }
};

Explained explain(const std::exception& error, AppLanguage language) {
    if (const auto* install = dynamic_cast<const InstallError*>(&error))
        return {install->reason(language), install->detail()};
    return {Loc::t(LocKey::appsCatalogLoadFailed, language), QString::fromUtf8(error.what())};
}

} // namespace

QString forInstall(const std::exception& error, AppLanguage language) {
    const Explained explained = explain(error, language);
    return explained.withDetail(
        Loc::format(LocKey::appsInstallFailedFormat, language, {explained.reason}));
}

QString forUninstall(const std::exception& error, AppLanguage language) {
    const Explained explained = explain(error, language);
    return explained.withDetail(explained.reason);
}

} // namespace ovrel::InstallFailureText
