#pragma once

#include <QString>
#include <exception>
#include <string>

namespace ovrel {

// Why the workspace could not open an application. The path is the file at
// fault; the reason is the system's explanation where there is one.
class WorkspaceError : public std::exception {
public:
    enum class Kind {
        infoPlistUnreadable,   // Contents/Info.plist missing, unreadable or not a dictionary
        executableNotDeclared, // no usable CFBundleExecutable (absent, empty or not a file name)
        executableMissing,     // Contents/MacOS/<executable> does not exist
        executableNotRunnable, // not a regular file, or not executable by this user
        launchFailed,          // the system refused to start it
    };

    WorkspaceError(Kind kind, QString path, QString reason = {});

    Kind kind() const { return m_kind; }
    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }
    QString description() const { return QString::fromStdString(m_what); }
    const char* what() const noexcept override { return m_what.c_str(); }
    bool operator==(const WorkspaceError& other) const {
        return m_kind == other.m_kind && m_path == other.m_path && m_reason == other.m_reason;
    }

    static QString kindName(Kind kind);

private:
    Kind m_kind;
    QString m_path;
    QString m_reason;
    std::string m_what;
};

} // namespace ovrel
