#pragma once

#include <QString>
#include <exception>
#include <string>

namespace ovrel {

// Why a manifest was refused. Kinds from missingRequiredLanguage to
// invalidMinMacOS carry one string (the offending key, command, id, value or
// field path); the others carry none.
class ManifestError : public std::exception {
public:
    enum class Kind {
        missingRequiredLanguage,
        duplicateKey,
        duplicateCommand,
        labelTooLong,
        defaultOutOfRange,
        defaultNotInOptions,
        emptyOptions,
        invalidMode,
        unknownSettingGroup,
        duplicateSettingGroup,
        insecureScreenshotURL,
        duplicatePermission,
        invalidMinMacOS,
        invalidJSON,
        idMismatch,
        tooManyMenuEntries,
        tooManySettings,
        summaryTooLong,
        tooManySettingGroups,
        tooManyDynamicCommands,
        descriptionTooLong,
        tooManyScreenshots,
    };

    // For kinds without a payload.
    explicit ManifestError(Kind kind);
    ManifestError(Kind kind, QString payload);

    Kind kind() const { return m_kind; }
    // Empty for kinds without a payload.
    const QString& payload() const { return m_payload; }
    static bool hasPayload(Kind kind);
    static QString name(Kind kind);

    // The kind's name, with its payload quoted in parentheses when it has one:
    // labelTooLong("name"), idMismatch.
    QString description() const;
    // The same for people who fix manifests, without the kind's name:
    // a text is too long: "name".
    QString explanation() const;
    const char* what() const noexcept override { return m_what.c_str(); }

    bool operator==(const ManifestError& other) const {
        return m_kind == other.m_kind && m_payload == other.m_payload;
    }

private:
    Kind m_kind;
    QString m_payload;
    std::string m_what;
};

} // namespace ovrel
