#pragma once

#include <QString>
#include <QtGlobal>
#include <exception>
#include <string>

namespace ovrel {

// Why a module's background agent could not be registered or unregistered.
class ResidentError : public std::exception {
public:
    enum class Kind {
        launchctlFailed,  // the agent tool exited with a status it does not accept
        noExecutable,     // the bundle names no usable executable
        plistWriteFailed, // the agent file or its directory could not be written
    };

    static ResidentError launchctlFailed(qint32 status) { return {Kind::launchctlFailed, status}; }
    static ResidentError noExecutable() { return {Kind::noExecutable, 0}; }
    static ResidentError plistWriteFailed() { return {Kind::plistWriteFailed, 0}; }

    Kind kind() const { return m_kind; }
    // The tool's exit status; 0 for the other kinds.
    qint32 status() const { return m_status; }

    bool operator==(const ResidentError& other) const {
        return m_kind == other.m_kind && m_status == other.m_status;
    }

    // For log lines: the case, and the status where there is one.
    QString description() const;
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    ResidentError(Kind kind, qint32 status);

    Kind m_kind;
    qint32 m_status;
    std::string m_what;
};

} // namespace ovrel
