#include "OvrelHub/store/InstallFailureText.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/shell/ServiceRequest.h"
#include "OvrelHub/store/CatalogError.h"
#include "OvrelHub/store/InstallError.h"
#include "Platform/files/FileError.h"

namespace ovrel::InstallFailureText {

QString reason(const std::exception_ptr& error, AppLanguage language) {
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const InstallError& e) {
        return e.reason(language);
    } catch (const CatalogError& e) {
        if (e.kind() == CatalogError::Kind::unauthorized)
            return Loc::t(LocKey::appsSignInToInstall, language);
    } catch (...) {
    }
    return Loc::t(LocKey::appsCatalogLoadFailed, language);
}

QString message(const std::exception_ptr& error, AppLanguage language) {
    return Loc::format(LocKey::appsInstallFailedFormat, language, {reason(error, language)});
}

QString description(const std::exception_ptr& error) {
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const InstallError& e) {
        return e.description();
    } catch (const CatalogError& e) {
        return e.description();
    } catch (const ServiceTransportError& e) {
        return e.description();
    } catch (const FileError& e) {
        return e.description();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QStringLiteral("unknown error");
}

} // namespace ovrel::InstallFailureText
