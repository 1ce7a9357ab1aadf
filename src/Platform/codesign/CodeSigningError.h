#pragma once

#include <QString>
#include <exception>
#include <string>

namespace ovrel {

// Why a bundle could not be signed or an identity not made, loaded or saved.
class CodeSigningError : public std::exception {
public:
    enum class Kind {
        bundleUnreadable,   // not a directory with Contents, or a file could not be read
        infoPlistInvalid,   // Info.plist missing, malformed, or naming no executable/identifier
        executableMissing,  // Contents/MacOS/<CFBundleExecutable> is not a regular file
        unsupportedEntry,   // special file, unclean name, or something beside Contents
        escapingSymlink,    // a link leading out of the bundle
        identityUnreadable, // key or certificate missing, malformed or not a pair
        identityExists,     // refusing to overwrite an identity
        cryptoFailed,       // key generation, certificate or signature failed
        writeFailed,        // a file could not be written
    };

    CodeSigningError(Kind kind, QString detail);

    Kind kind() const { return m_kind; }
    const QString& detail() const { return m_detail; }
    QString description() const;
    const char* what() const noexcept override { return m_what.c_str(); }
    bool operator==(const CodeSigningError& other) const {
        return m_kind == other.m_kind && m_detail == other.m_detail;
    }

private:
    Kind m_kind;
    QString m_detail;
    std::string m_what;
};

} // namespace ovrel
