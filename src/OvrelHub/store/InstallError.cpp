#include "OvrelHub/store/InstallError.h"

#include "OvrelConfig/Loc.h"
#include "Platform/system/LogText.h"

namespace ovrel {

namespace {
using LogText::quoted;
} // namespace

InstallError::InstallError(Kind kind, QString first, QString second,
                           std::optional<ManifestError> manifest)
    : m_kind(kind), m_first(std::move(first)), m_second(std::move(second)),
      m_manifest(std::move(manifest)), m_what(description().toStdString()) {}

InstallError InstallError::checksumMismatch(QString expected, QString actual) {
    return InstallError(Kind::checksumMismatch, std::move(expected), std::move(actual));
}

InstallError InstallError::unzip(QString unzipError) {
    return InstallError(Kind::unzip, std::move(unzipError));
}

InstallError InstallError::badManifest(ManifestError error) {
    return InstallError(Kind::badManifest, {}, {}, std::move(error));
}

InstallError InstallError::macOSTooOld(QString requiredVersion) {
    return InstallError(Kind::macOSTooOld, std::move(requiredVersion));
}

QString InstallError::description() const {
    switch (m_kind) {
    case Kind::checksumMismatch:
        return QStringLiteral("checksumMismatch(expected: ") + quoted(m_first) +
               QStringLiteral(", actual: ") + quoted(m_second) + QLatin1Char(')');
    case Kind::unzip:
        return QStringLiteral("unzip(") + m_first + QLatin1Char(')');
    case Kind::badManifest:
        return QStringLiteral("badManifest(") +
               (m_manifest ? m_manifest->description() : QString()) + QLatin1Char(')');
    case Kind::macOSTooOld:
        return QStringLiteral("macOSTooOld(") + quoted(m_first) + QLatin1Char(')');
    case Kind::invalidId:
        return QStringLiteral("invalidId");
    case Kind::downloadFailed:
        return QStringLiteral("downloadFailed");
    case Kind::signatureRejected:
        return QStringLiteral("signatureRejected");
    case Kind::installFailed:
        return QStringLiteral("installFailed");
    }
    return {};
}

QString InstallError::reason(AppLanguage language) const {
    if (m_kind == Kind::macOSTooOld)
        return Loc::format(LocKey::appsNeedsMacOSFormat, language, {m_first});
    return Loc::t(LocKey::appsCatalogLoadFailed, language);
}

} // namespace ovrel
