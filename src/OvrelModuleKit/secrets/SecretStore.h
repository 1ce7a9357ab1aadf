#pragma once

#include "OvrelModuleKit/secrets/SecretLoad.h"
#include "Platform/system/MachineIdentity.h"

#include <QByteArray>
#include <QString>
#include <exception>
#include <optional>
#include <string>
#include <sys/types.h>

namespace ovrel {

// Small secrets (above all the sign-in token) kept in files that only this
// user on this machine can open: each file is AES-256-GCM sealed under a key
// derived from the machine identifier, a per-file salt and the secret's name.
// The key is never stored. No state is cached between operations.
//
// File <directory>/<name>.bin, fields contiguous:
//   0       4   "Ovr1"
//   4      16   salt, fresh for every write
//   20     12   GCM nonce, fresh for every write
//   32      n   ciphertext of the UTF-8 text
//   32+n   16   GCM tag
class SecretStore {
public:
    class StoreError : public std::exception {
    public:
        enum class Kind { writeFailed };

        StoreError(Kind kind, QString name, QString reason);

        Kind kind() const { return m_kind; }
        const QString& name() const { return m_name; }
        const QString& reason() const { return m_reason; }
        QString description() const { return QString::fromStdString(m_what); }
        const char* what() const noexcept override { return m_what.c_str(); }
        bool operator==(const StoreError& other) const {
            return m_kind == other.m_kind && m_name == other.m_name;
        }

    private:
        Kind m_kind;
        QString m_name;
        QString m_reason;
        std::string m_what;
    };

    static constexpr char kMagic[] = "Ovr1";
    static constexpr int kMagicBytes = 4;
    static constexpr int kSaltBytes = 16;
    static constexpr int kHeaderBytes = kMagicBytes + kSaltBytes;
    // Secrets are tokens and keys; a larger file is not one of ours.
    static constexpr qint64 kMaxFileBytes = 1 << 20;

    SecretStore(QString directory, QString machineID);
    virtual ~SecretStore() = default;
    SecretStore(const SecretStore&) = default;
    SecretStore& operator=(const SecretStore&) = default;

    // The store of this user and machine: defaultDirectory() keyed by the
    // machine's identity, or by fallbackMachineID() when it has none.
    static SecretStore appDefault();
    static SecretStore appDefault(const MachineIdentity& identity);
    // The "secrets" directory below the default shared root.
    static QString defaultDirectory();
    static QString fallbackMachineID();
    // The identity's UUID, else the fallback.
    static QString machineIDOf(const MachineIdentity& identity);

    // A name is used as a file name component: not empty, not "." or "..",
    // without "/" or NUL.
    static bool isValidName(const QString& name);

    const QString& directory() const { return m_directory; }
    const QString& machineID() const { return m_machineID; }
    QString filePath(const QString& name) const;

    // Never throws.
    SecretLoad load(const QString& name) const;
    // Throws FileError or StoreError. After a failure the previous secret is
    // either untouched or gone; it is never left readable by others.
    void save(const QString& value, const QString& name) const;
    // Errors, including a missing file, are ignored.
    void remove(const QString& name) const;

protected:
    // Permission bits of a file, nothing when they cannot be read. A seam so
    // that the refusal of a file with wrong permissions can be exercised.
    virtual std::optional<mode_t> filePermissions(const QString& path) const;

private:
    QByteArray deriveKey(const QByteArray& salt, const QString& name) const;
    QByteArray sealedFileBytes(const QString& value, const QString& name) const;
    void prepareDirectory() const;
    QString temporaryPath(const QString& name) const;

    QString m_directory;
    QString m_machineID;
};

} // namespace ovrel
