#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/signature/SignatureError.h"
#include "OvrelHub/store/UnzipError.h"
#include "OvrelModuleKit/manifest/ManifestError.h"

#include <QString>
#include <exception>
#include <optional>
#include <string>

namespace ovrel {

// Why installing a module failed. Lower-level errors are mapped to one of
// these cases; the installed version is untouched by every case except a
// failed swap whose restore failed too (which is logged).
class InstallError : public std::exception {
public:
    enum class Kind {
        checksumMismatch,  // the archive's SHA-256 differs from the release's
        unzip,             // safe unpacking refused or failed
        badManifest,       // the bundle's manifest is missing or invalid
        macOSTooOld,       // the manifest requires a newer system
        invalidId,         // the module id is not a valid id
        downloadFailed,    // the download failed in any way
        signatureRejected, // the signature check failed
        installFailed,     // the bundle could not be copied to staging or swapped in
    };

    static InstallError checksumMismatch(QString expected, QString actual);
    // Carries the unpacker's own description of what it refused.
    static InstallError unzip(QString unzipError);
    static InstallError unzip(const UnzipError& error) { return unzip(error.description()); }
    static InstallError badManifest(ManifestError error);
    static InstallError macOSTooOld(QString requiredVersion);
    static InstallError invalidId() { return InstallError(Kind::invalidId); }
    static InstallError downloadFailed() { return InstallError(Kind::downloadFailed); }
    // `finding` is what the verifier reported, kept for telling the user; the
    // case itself carries no payload, so it plays no part in equality.
    static InstallError signatureRejected(std::optional<SignatureError> finding = std::nullopt);
    static InstallError installFailed() { return InstallError(Kind::installFailed); }

    Kind kind() const { return m_kind; }
    // checksumMismatch: the expected and the computed digest (lowercase hex).
    const QString& expectedDigest() const { return m_first; }
    const QString& actualDigest() const { return m_second; }
    // unzip: the unpacker's description.
    const QString& unzipError() const { return m_first; }
    // macOSTooOld: the system version the manifest requires.
    const QString& requiredVersion() const { return m_first; }
    // badManifest: the manifest's error.
    const std::optional<ManifestError>& manifestError() const { return m_manifest; }
    // signatureRejected: the verifier's finding, when it gave one.
    const std::optional<SignatureError>& signatureError() const { return m_signature; }

    // The case with its payload, for log lines: badManifest(idMismatch),
    // macOSTooOld("15.0"), checksumMismatch(expected: "…", actual: "…").
    QString description() const;
    // What the store tells the user after "Install failed: ": the system
    // requirement for macOSTooOld, the generic failure text otherwise.
    QString reason(AppLanguage language) const;
    // What went wrong in particular, for someone who can fix it: the
    // signature status number and name, the manifest's fault and its field,
    // the unpacker's refusal. Never a case name; empty when the reason says
    // it all. In English, like the platform's own status texts.
    QString detail() const;

    const char* what() const noexcept override { return m_what.c_str(); }
    bool operator==(const InstallError& other) const {
        return m_kind == other.m_kind && m_first == other.m_first && m_second == other.m_second &&
               m_manifest == other.m_manifest;
    }

private:
    explicit InstallError(Kind kind, QString first = {}, QString second = {},
                          std::optional<ManifestError> manifest = std::nullopt);

    Kind m_kind;
    QString m_first;
    QString m_second;
    std::optional<ManifestError> m_manifest;
    std::optional<SignatureError> m_signature;
    std::string m_what;
};

} // namespace ovrel
