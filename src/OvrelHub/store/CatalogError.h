#pragma once

#include <QString>
#include <exception>
#include <string>

namespace ovrel {

// Why the catalog could not be read from a service that answered.
class CatalogError : public std::exception {
public:
    enum class Kind {
        serverError,  // any status other than 2xx and 401
        unauthorized, // 401: not signed in, or the session is no longer valid
        badResponse,  // not HTTP, or a 2xx body that is not a catalog
    };

    static CatalogError serverError(int status) { return CatalogError(Kind::serverError, status); }
    static CatalogError unauthorized() { return CatalogError(Kind::unauthorized); }
    static CatalogError badResponse() { return CatalogError(Kind::badResponse); }

    Kind kind() const { return m_kind; }
    int status() const { return m_status; } // serverError only

    // serverError(503), unauthorized, badResponse
    QString description() const;
    const char* what() const noexcept override { return m_what.c_str(); }
    bool operator==(const CatalogError& other) const {
        return m_kind == other.m_kind && m_status == other.m_status;
    }

private:
    explicit CatalogError(Kind kind, int status = 0)
        : m_kind(kind), m_status(status), m_what(description().toStdString()) {}

    Kind m_kind;
    int m_status;
    std::string m_what;
};

} // namespace ovrel
