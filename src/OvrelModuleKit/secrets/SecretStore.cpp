#include "OvrelModuleKit/secrets/SecretStore.h"

#include "OvrelModuleKit/paths/ModulePaths.h"
#include "OvrelModuleKit/secrets/SecretStoreConstants.h"
#include "Platform/crypto/Crypto.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"
#include "Platform/files/FileError.h"

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace ovrel {

namespace {

constexpr mode_t kFileMode = 0600;
constexpr mode_t kDirectoryMode = 0700;

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}
QString errnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Key and plaintext buffers are cleared however the operation ends.
struct Wiped {
    QByteArray bytes;
    ~Wiped() { Crypto::wipe(bytes); }
};

std::optional<QString> strictUtf8(const QByteArray& bytes) {
    // A leading byte-order mark is part of the stored text, not a marker.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

SecretStore::StoreError::StoreError(Kind kind, QString name, QString reason)
    : m_kind(kind), m_name(std::move(name)), m_reason(std::move(reason)),
      m_what(QStringLiteral("writeFailed(%1): %2").arg(m_name, m_reason).toStdString()) {}

SecretStore::SecretStore(QString directory, QString machineID)
    : m_directory(std::move(directory)), m_machineID(std::move(machineID)) {}

SecretStore SecretStore::appDefault() {
    return appDefault(MachineIdentity::system());
}

SecretStore SecretStore::appDefault(const MachineIdentity& identity) {
    return SecretStore(defaultDirectory(), machineIDOf(identity));
}

QString SecretStore::defaultDirectory() {
    return ModulePaths(ModulePaths::defaultRoot()).secretsDir();
}

QString SecretStore::fallbackMachineID() {
    return QString::fromLatin1(SecretStoreConstants::kFallbackMachineID);
}

QString SecretStore::machineIDOf(const MachineIdentity& identity) {
    return identity.hardwareUUID().value_or(fallbackMachineID());
}

bool SecretStore::isValidName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(u'\0'));
}

QString SecretStore::filePath(const QString& name) const {
    return m_directory + QLatin1Char('/') + name + QStringLiteral(".bin");
}

QString SecretStore::temporaryPath(const QString& name) const {
    return m_directory + QStringLiteral("/.") + name + QStringLiteral(".tmp");
}

QByteArray SecretStore::deriveKey(const QByteArray& salt, const QString& name) const {
    const QByteArray info = QByteArray(SecretStoreConstants::kKeyInfoPrefix) + name.toUtf8();
    return Crypto::hkdfSha256(m_machineID.toUtf8(), salt, info, Crypto::kAesKeyBytes);
}

SecretLoad SecretStore::load(const QString& name) const {
    if (!isValidName(name))
        return SecretLoad::missing();
    const auto file = BoundedFile::read(filePath(name), kMaxFileBytes);
    using Status = BoundedFile::ReadResult::Status;
    if (file.status == Status::failed)
        return SecretLoad::missing();
    const QByteArray& bytes = file.bytes;
    if (file.status == Status::tooLarge || bytes.size() <= kHeaderBytes ||
        !bytes.startsWith(QByteArrayView(kMagic, kMagicBytes)))
        return SecretLoad::unreadable();
    const QByteArray salt = bytes.mid(kMagicBytes, kSaltBytes);
    const QByteArrayView box = QByteArrayView(bytes).sliced(kHeaderBytes);
    if (box.size() < Crypto::kGcmNonceBytes + Crypto::kGcmTagBytes)
        return SecretLoad::unreadable();

    const Wiped key{deriveKey(salt, name)};
    if (key.bytes.isEmpty())
        return SecretLoad::unreadable();
    auto opened = Crypto::aesGcmOpen(key.bytes, box);
    if (!opened)
        return SecretLoad::unreadable();
    const Wiped plain{std::move(*opened)};
    auto text = strictUtf8(plain.bytes);
    return text ? SecretLoad::ok(std::move(*text)) : SecretLoad::unreadable();
}

QByteArray SecretStore::sealedFileBytes(const QString& value, const QString& name) const {
    const auto fail = [&](const QString& reason) {
        return StoreError(StoreError::Kind::writeFailed, name, reason);
    };
    QByteArray salt;
    QByteArray box;
    try {
        salt = Crypto::randomBytes(kSaltBytes);
        const Wiped key{deriveKey(salt, name)};
        if (key.bytes.isEmpty())
            throw fail(QStringLiteral("key derivation failed"));
        const Wiped plain{value.toUtf8()};
        box = Crypto::aesGcmSeal(key.bytes, plain.bytes);
        if (box.size() != Crypto::kGcmNonceBytes + plain.bytes.size() + Crypto::kGcmTagBytes)
            throw fail(QStringLiteral("sealing failed"));
    } catch (const std::runtime_error& e) { // the random generator failed
        throw fail(QString::fromUtf8(e.what()));
    }
    QByteArray bytes = QByteArray(kMagic, kMagicBytes) + salt + box;
    // The loader refuses larger files; storing one would only look like success.
    if (bytes.size() > kMaxFileBytes)
        throw fail(QStringLiteral("secret too large"));
    return bytes;
}

void SecretStore::prepareDirectory() const {
    AtomicFile::makeDirectories(m_directory, kDirectoryMode); // throws FileError
    // Tightens a directory that existed before with looser permissions.
    ::chmod(encoded(m_directory).constData(), kDirectoryMode);
}

void SecretStore::save(const QString& value, const QString& name) const {
    if (!isValidName(name))
        throw StoreError(StoreError::Kind::writeFailed, name, QStringLiteral("invalid name"));
    const QByteArray bytes = sealedFileBytes(value, name);
    prepareDirectory();

    const QByteArray temporary = encoded(temporaryPath(name));
    const QByteArray final = encoded(filePath(name));
    ::unlink(temporary.constData()); // a leftover of an interrupted save
    try {
        // Written whole before it is renamed, so the final name only ever gets a complete file.
        AtomicFile::write(temporaryPath(name), bytes,
                          {.fileMode = kFileMode, .directoryMode = kDirectoryMode});
    } catch (const FileError& e) {
        throw StoreError(StoreError::Kind::writeFailed, name, e.description());
    }
    if (::rename(temporary.constData(), final.constData()) != 0) {
        const QString reason = errnoText();
        ::unlink(temporary.constData());
        throw FileError(filePath(name), reason);
    }

    ::chmod(final.constData(), kFileMode);
    if (filePermissions(filePath(name)) == kFileMode)
        return;
    // Never leave a secret behind that others might read.
    ::unlink(final.constData());
    if (QFile::exists(filePath(name)))
        QFile::resize(filePath(name), 0);
    throw StoreError(StoreError::Kind::writeFailed, name,
                     QStringLiteral("permissions could not be restricted"));
}

void SecretStore::remove(const QString& name) const {
    if (isValidName(name))
        ::unlink(encoded(filePath(name)).constData());
}

std::optional<mode_t> SecretStore::filePermissions(const QString& path) const {
    struct stat st {};
    if (::lstat(encoded(path).constData(), &st) != 0)
        return std::nullopt;
    return st.st_mode & 07777;
}

} // namespace ovrel
