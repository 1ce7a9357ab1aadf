#pragma once

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <chrono>
#include <optional>

class QHttpServerRequest;

namespace ovrel::devservice {

// Accounts, sign-in codes, bearer tokens and synced data of the local service.
// Kept in memory, and when a data file is given also there (rewritten
// atomically after every change, read at start), so a restart keeps accounts,
// tokens and synced data. Codes live only in memory. Tokens are 32 random
// bytes, expire, and are checked on every use. Main thread only.
class DevAccounts {
public:
    struct User {
        QString email;
        QString name;
    };
    struct Stream {
        qint64 version = 0;
        QJsonValue data;
    };

    static constexpr std::chrono::minutes kCodeLifetime{5};

    DevAccounts(QString dataFile, std::chrono::seconds tokenLifetime);

    // A one-time code for this user, valid kCodeLifetime.
    QString issueCode(const User& user);
    // Consumes a valid code: a new token and its user.
    std::optional<std::pair<QString, User>> exchange(const QString& code);

    // The email of the request's "Authorization: Bearer" token while it is valid.
    std::optional<QString> authorize(const QHttpServerRequest& request);
    std::optional<User> user(const QString& email) const;
    void revoke(const QString& token);
    // The user, their tokens and their synced data.
    void deleteAccount(const QString& email);

    Stream stream(const QString& email, const QString& key) const;
    void setStream(const QString& email, const QString& key, Stream stream);
    void deleteStream(const QString& email, const QString& key);

    static QString bearerToken(const QHttpServerRequest& request);

private:
    struct Code {
        User user;
        QDateTime expires;
    };
    struct Token {
        QString email;
        QDateTime expires;
    };

    void load();
    void save() const;
    static QString randomToken();

    QString m_dataFile;
    std::chrono::seconds m_tokenLifetime;
    QHash<QString, User> m_users;                     // by email
    QHash<QString, Token> m_tokens;                   // by token
    QHash<QString, Code> m_codes;                     // by code
    QHash<QString, QHash<QString, Stream>> m_streams; // email -> key -> stream
};

} // namespace ovrel::devservice
