#pragma once

#include <QString>
#include <exception>
#include <string>

namespace ovrel {

// Why a JSON value could not be turned into one of our types. Readers catch it
// and fall back to their default; the manifest loader turns it into invalidJSON.
class JsonDecodingError : public std::exception {
public:
    enum class Kind { dataCorrupted, keyNotFound, typeMismatch };

    JsonDecodingError(Kind kind, QString description)
        : m_kind(kind), m_description(std::move(description)), m_what(m_description.toStdString()) {
    }

    Kind kind() const { return m_kind; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }
    bool operator==(const JsonDecodingError& other) const {
        return m_kind == other.m_kind && m_description == other.m_description;
    }

private:
    Kind m_kind;
    QString m_description;
    std::string m_what;
};

} // namespace ovrel
