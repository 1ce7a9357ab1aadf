#pragma once

#include <QString>
#include <exception>
#include <string>

namespace ovrel {

// Why a module archive was refused or could not be unpacked.
class UnzipError : public std::exception {
public:
    enum class Kind {
        unsafeEntry,         // an entry name that would leave the target; the name
        escapingSymlink,     // a link leading outside, or an unexaminable item; its name
        listFailed,          // the entry list could not be read
        extractFailed,       // unpacking failed or the archive broke a limit
        noAppBundle,         // no application bundle at the top level
        multipleAppBundles,  // more than one
        destinationNotEmpty, // the target could not be emptied or is not empty
    };

    static UnzipError unsafeEntry(QString name) {
        return UnzipError(Kind::unsafeEntry, std::move(name));
    }
    static UnzipError escapingSymlink(QString name) {
        return UnzipError(Kind::escapingSymlink, std::move(name));
    }
    static UnzipError listFailed() { return UnzipError(Kind::listFailed); }
    static UnzipError extractFailed() { return UnzipError(Kind::extractFailed); }
    static UnzipError noAppBundle() { return UnzipError(Kind::noAppBundle); }
    static UnzipError multipleAppBundles() { return UnzipError(Kind::multipleAppBundles); }
    static UnzipError destinationNotEmpty() { return UnzipError(Kind::destinationNotEmpty); }

    Kind kind() const { return m_kind; }
    const QString& name() const { return m_name; } // unsafeEntry, escapingSymlink

    // The case with its payload; names from the archive are quoted with
    // control characters escaped: unsafeEntry("../evil").
    QString description() const;
    const char* what() const noexcept override { return m_what.c_str(); }
    bool operator==(const UnzipError& other) const {
        return m_kind == other.m_kind && m_name == other.m_name;
    }

private:
    explicit UnzipError(Kind kind, QString name = {})
        : m_kind(kind), m_name(std::move(name)), m_what(description().toStdString()) {}

    Kind m_kind;
    QString m_name;
    std::string m_what;
};

} // namespace ovrel
