#include "DevAccounts.h"

#include "Platform/crypto/Crypto.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"

#include <QHttpServerRequest>
#include <QJsonDocument>
#include <cstdio>

namespace ovrel::devservice {

namespace {
QDateTime now() {
    return QDateTime::currentDateTimeUtc();
}
constexpr qint64 kMaxDataFileBytes = 64 * 1024 * 1024;
} // namespace

DevAccounts::DevAccounts(QString dataFile, std::chrono::seconds tokenLifetime)
    : m_dataFile(std::move(dataFile)), m_tokenLifetime(tokenLifetime) {
    load();
}

QString DevAccounts::randomToken() {
    return QString::fromLatin1(Crypto::randomBytes(32).toBase64(QByteArray::Base64UrlEncoding |
                                                                QByteArray::OmitTrailingEquals));
}

QString DevAccounts::issueCode(const User& user) {
    const QString code = randomToken();
    m_codes.insert(code, {user, now().addSecs(std::chrono::seconds(kCodeLifetime).count())});
    return code;
}

std::optional<std::pair<QString, DevAccounts::User>> DevAccounts::exchange(const QString& code) {
    const auto it = m_codes.find(code);
    if (it == m_codes.end())
        return std::nullopt;
    const Code issued = it.value();
    m_codes.erase(it); // one use, valid or not
    if (issued.expires < now())
        return std::nullopt;
    if (!m_users.contains(issued.user.email))
        m_users.insert(issued.user.email, issued.user);
    const QString token = randomToken();
    m_tokens.insert(token, {issued.user.email, now().addSecs(m_tokenLifetime.count())});
    save();
    return std::pair{token, m_users.value(issued.user.email)};
}

QString DevAccounts::bearerToken(const QHttpServerRequest& request) {
    const QByteArray header = request.value("Authorization");
    if (!header.startsWith("Bearer "))
        return {};
    return QString::fromLatin1(header.mid(7).trimmed());
}

std::optional<QString> DevAccounts::authorize(const QHttpServerRequest& request) {
    const QString token = bearerToken(request);
    const auto it = m_tokens.find(token);
    if (token.isEmpty() || it == m_tokens.end())
        return std::nullopt;
    if (it->expires <= now()) {
        m_tokens.erase(it);
        save();
        return std::nullopt;
    }
    if (!m_users.contains(it->email))
        return std::nullopt;
    return it->email;
}

std::optional<DevAccounts::User> DevAccounts::user(const QString& email) const {
    const auto it = m_users.constFind(email);
    if (it == m_users.constEnd())
        return std::nullopt;
    return *it;
}

void DevAccounts::revoke(const QString& token) {
    if (m_tokens.remove(token))
        save();
}

void DevAccounts::deleteAccount(const QString& email) {
    m_users.remove(email);
    m_streams.remove(email);
    m_tokens.removeIf([&](const auto& entry) { return entry.value().email == email; });
    save();
}

DevAccounts::Stream DevAccounts::stream(const QString& email, const QString& key) const {
    return m_streams.value(email).value(key);
}

void DevAccounts::setStream(const QString& email, const QString& key, Stream stream) {
    m_streams[email].insert(key, std::move(stream));
    save();
}

void DevAccounts::deleteStream(const QString& email, const QString& key) {
    if (m_streams[email].remove(key))
        save();
}

void DevAccounts::load() {
    if (m_dataFile.isEmpty())
        return;
    const BoundedFile::ReadResult read = BoundedFile::read(m_dataFile, kMaxDataFileBytes);
    if (read.status != BoundedFile::ReadResult::Status::ok)
        return;
    const QJsonObject root = QJsonDocument::fromJson(read.bytes).object();
    const QJsonObject users = root.value(QStringLiteral("users")).toObject();
    for (auto it = users.begin(); it != users.end(); ++it)
        m_users.insert(it.key(),
                       {it.key(), it->toObject().value(QStringLiteral("name")).toString()});
    const QJsonObject tokens = root.value(QStringLiteral("tokens")).toObject();
    for (auto it = tokens.begin(); it != tokens.end(); ++it) {
        const QJsonObject token = it->toObject();
        m_tokens.insert(it.key(),
                        {token.value(QStringLiteral("email")).toString(),
                         QDateTime::fromString(token.value(QStringLiteral("expires")).toString(),
                                               Qt::ISODate)});
    }
    const QJsonObject streams = root.value(QStringLiteral("sync")).toObject();
    for (auto user = streams.begin(); user != streams.end(); ++user) {
        const QJsonObject keys = user->toObject();
        for (auto it = keys.begin(); it != keys.end(); ++it) {
            const QJsonObject stream = it->toObject();
            m_streams[user.key()].insert(it.key(),
                                         {stream.value(QStringLiteral("version")).toInteger(),
                                          stream.value(QStringLiteral("data"))});
        }
    }
}

void DevAccounts::save() const {
    if (m_dataFile.isEmpty())
        return;
    QJsonObject users;
    for (const User& user : m_users)
        users.insert(user.email, QJsonObject{{QStringLiteral("name"), user.name}});
    QJsonObject tokens;
    for (auto it = m_tokens.cbegin(); it != m_tokens.cend(); ++it)
        tokens.insert(it.key(),
                      QJsonObject{{QStringLiteral("email"), it->email},
                                  {QStringLiteral("expires"), it->expires.toString(Qt::ISODate)}});
    QJsonObject streams;
    for (auto user = m_streams.cbegin(); user != m_streams.cend(); ++user) {
        QJsonObject keys;
        for (auto it = user->cbegin(); it != user->cend(); ++it)
            keys.insert(it.key(), QJsonObject{{QStringLiteral("version"), it->version},
                                              {QStringLiteral("data"), it->data}});
        streams.insert(user.key(), keys);
    }
    const QJsonObject root{{QStringLiteral("users"), users},
                           {QStringLiteral("tokens"), tokens},
                           {QStringLiteral("sync"), streams}};
    AtomicFile::Options privateFile;
    privateFile.fileMode = 0600;
    privateFile.directoryMode = 0700;
    try {
        AtomicFile::write(m_dataFile, QJsonDocument(root).toJson(QJsonDocument::Indented),
                          privateFile);
    } catch (const FileError& e) {
        std::fprintf(stderr, "ovrel-devservice: cannot write %s: %s\n", qPrintable(m_dataFile),
                     qPrintable(e.description()));
    }
}

} // namespace ovrel::devservice
