#pragma once

#include <QString>
#include <exception>
#include <string>

namespace ovrel {

// Failure of a file-system operation, carrying the path and the system's reason.
class FileError : public std::exception {
public:
    FileError(QString path, QString reason)
        : m_path(std::move(path)), m_reason(std::move(reason)),
          m_what((m_path + QStringLiteral(": ") + m_reason).toStdString()) {}

    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }
    QString description() const { return QString::fromStdString(m_what); }
    const char* what() const noexcept override { return m_what.c_str(); }
    bool operator==(const FileError& other) const {
        return m_path == other.m_path && m_reason == other.m_reason;
    }

private:
    QString m_path;
    QString m_reason;
    std::string m_what;
};

} // namespace ovrel
