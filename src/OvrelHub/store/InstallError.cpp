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

InstallError InstallError::signatureRejected(std::optional<SignatureError> finding) {
    InstallError error(Kind::signatureRejected);
    error.m_signature = std::move(finding);
    return error;
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

namespace {

QString signatureDetail(const std::optional<SignatureError>& finding) {
    const QString prefix = QStringLiteral("signature: ");
    if (!finding)
        return prefix + QStringLiteral("not accepted");
    switch (finding->kind()) {
    case SignatureError::Kind::rejected: {
        const OSStatus status = finding->status();
        QString text = prefix + QString::number(status);
        if (const QString name = CodeSigningStatus::name(status); !name.isEmpty())
            text += QLatin1Char(' ') + name;
        return text + QStringLiteral(" (") + CodeSigningStatus::describe(status) + QLatin1Char(')');
    }
    case SignatureError::Kind::cannotRead:
        return prefix + QStringLiteral("the bundle cannot be read as code");
    case SignatureError::Kind::invalidRequirement:
        return prefix + QStringLiteral("no signing requirement can be made for this module id");
    }
    return prefix;
}

} // namespace

QString InstallError::detail() const {
    switch (m_kind) {
    case Kind::checksumMismatch:
        return QStringLiteral("the archive's SHA-256 is ") + quoted(m_second) +
               QStringLiteral(", the catalog expects ") + quoted(m_first);
    case Kind::unzip:
        return QStringLiteral("the archive was refused: ") + m_first;
    case Kind::badManifest:
        return QStringLiteral("manifest: ") + (m_manifest ? m_manifest->explanation() : QString());
    case Kind::invalidId:
        return QStringLiteral("not a valid module id (1-32 characters a-z, 0-9 or -)");
    case Kind::downloadFailed:
        return QStringLiteral("the download failed");
    case Kind::signatureRejected:
        return signatureDetail(m_signature);
    case Kind::installFailed:
        return QStringLiteral("the bundle could not be copied or moved into place");
    case Kind::macOSTooOld:
        return {};
    }
    return {};
}

} // namespace ovrel
