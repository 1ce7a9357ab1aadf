#pragma once

#include <QString>
#include <optional>

namespace ovrel {

// The outcome of reading one machine-bound secret.
class SecretLoad {
public:
    enum class Kind {
        ok,         // the secret's text
        missing,    // the file could not be read (usually: it does not exist)
        unreadable, // a file exists but is no valid secret for this machine and name
    };

    static SecretLoad ok(QString text) { return SecretLoad(Kind::ok, std::move(text)); }
    static SecretLoad missing() { return SecretLoad(Kind::missing, {}); }
    static SecretLoad unreadable() { return SecretLoad(Kind::unreadable, {}); }

    Kind kind() const { return m_kind; }
    bool isOk() const { return m_kind == Kind::ok; }
    // The text when ok, nothing otherwise.
    std::optional<QString> text() const;

    // For log lines; never contains the secret itself.
    QString description() const;

    bool operator==(const SecretLoad& other) const = default;

private:
    SecretLoad(Kind kind, QString text) : m_kind(kind), m_text(std::move(text)) {}

    Kind m_kind;
    QString m_text;
};

} // namespace ovrel
