#pragma once

#include "Platform/codesign/CodeSigningStatus.h"

#include <QString>
#include <exception>
#include <string>

namespace ovrel {

// Why a module bundle's signature was not accepted.
class SignatureError : public std::exception {
public:
    enum class Kind {
        rejected,           // invalid or not satisfying the requirement; carries the status
        cannotRead,         // the bundle could not be opened as code
        invalidRequirement, // the module id is not valid, or the requirement did not compile
    };

    static SignatureError rejected(OSStatus status) { return {Kind::rejected, status}; }
    static SignatureError cannotRead() { return {Kind::cannotRead, 0}; }
    static SignatureError invalidRequirement() { return {Kind::invalidRequirement, 0}; }

    Kind kind() const { return m_kind; }
    // The platform's status for rejected, 0 otherwise.
    OSStatus status() const { return m_status; }

    // The case's name, with the status for rejected: rejected(-67050), cannotRead.
    QString description() const;
    const char* what() const noexcept override { return m_what.c_str(); }

    bool operator==(const SignatureError& other) const {
        return m_kind == other.m_kind && m_status == other.m_status;
    }

private:
    SignatureError(Kind kind, OSStatus status);

    Kind m_kind;
    OSStatus m_status;
    std::string m_what;
};

} // namespace ovrel
