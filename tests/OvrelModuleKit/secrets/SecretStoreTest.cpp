#include "OvrelModuleKit/secrets/SecretStore.h"
#include "FakeMachineIdentity.h"
#include "JsonCorpus.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/crypto/Crypto.h"
#include "Platform/files/FileError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace ovrel {
void PrintTo(const SecretLoad& load, std::ostream* os) {
    *os << load.description().toStdString();
    if (load.text())
        *os << " \"" << load.text()->toStdString() << '"';
}
} // namespace ovrel

using namespace ovrel;
using ovrel::test::TempDir;

namespace {

const QString kMachine = QStringLiteral("01234567-89AB-CDEF-0123-456789ABCDEF");

mode_t permissions(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 07777;
    return st.st_mode & 07777;
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A file sealed by hand, exactly as a store on machine `machine` would write it.
QByteArray craftFile(const QString& machine, const QString& name, const QByteArray& plaintext) {
    const QByteArray salt = Crypto::randomBytes(16);
    const QByteArray key =
        Crypto::hkdfSha256(machine.toUtf8(), salt, "vn.ovrel.keys." + name.toUtf8(), 32);
    return "Ovr1" + salt + Crypto::aesGcmSeal(key, plaintext);
}

class SecretStoreTest : public testing::Test {
protected:
    TempDir dir;
    QString secrets = dir.file("root/secrets");
    SecretStore store{secrets, kMachine};
};

} // namespace

TEST_F(SecretStoreTest, RoundTripsAnyText) {
    for (const QString& text :
         {QStringLiteral("token-123"), QString(), QStringLiteral("Xin chào — 🔑 ключ"),
          QStringLiteral("\uFEFFstarts with a byte-order mark"), QString::fromUtf8("a\0b", 3),
          QString(100000, QLatin1Char('x'))}) {
        store.save(text, "session");
        EXPECT_EQ(store.load("session"), SecretLoad::ok(text));
    }
    // Names are independent secrets.
    store.save("other", "cache");
    EXPECT_EQ(store.load("cache"), SecretLoad::ok("other"));
    EXPECT_EQ(store.load("session").text()->size(), 100000);
}

TEST_F(SecretStoreTest, FileLayoutIsMagicSaltNonceCiphertextTag) {
    store.save("token-123", "session");
    const QByteArray file = test::readFile(store.filePath("session"));
    EXPECT_EQ(store.filePath("session"), secrets + "/session.bin");
    ASSERT_EQ(file.size(), 4 + 16 + 12 + 9 + 16);
    EXPECT_EQ(file.left(4), QByteArray("Ovr1"));
    const QByteArray salt = file.mid(4, 16);
    const QByteArray key = Crypto::hkdfSha256(kMachine.toUtf8(), salt, "vn.ovrel.keys.session", 32);
    const auto plain =
        Crypto::aesGcmOpenDetached(key, file.mid(20, 12), file.mid(32, 9), file.right(16), {});
    EXPECT_EQ(plain, QByteArray("token-123"));
    EXPECT_FALSE(file.contains("token-123"));
}

TEST_F(SecretStoreTest, ReadsAFileSealedWithTheFixedDerivationConstants) {
    // Written once by an independent implementation: hub and every module must keep reading it.
    test::writeFile(
        store.filePath("session"),
        QByteArray::fromHex("4f767231000102030405060708090a0b0c0d0e0fa0a1a2a3a4a5a6a7a8a9"
                            "aaab3b3ac281e9f06f5a6b207e62f08570ce7cfc753221435e7ac1"));
    EXPECT_EQ(store.load("session"), SecretLoad::ok("token-123"));
    EXPECT_EQ(SecretStore::fallbackMachineID(), QStringLiteral("vn.ovrel.no-hardware-id"));
    EXPECT_EQ(SecretStore::fallbackMachineID().size(), 23);
}

TEST_F(SecretStoreTest, EverySaveUsesFreshSaltAndNonce) {
    store.save("same", "session");
    const QByteArray first = test::readFile(store.filePath("session"));
    store.save("same", "session");
    const QByteArray second = test::readFile(store.filePath("session"));
    EXPECT_NE(first.mid(4, 16), second.mid(4, 16));
    EXPECT_NE(first.mid(20, 12), second.mid(20, 12));
    EXPECT_NE(first.mid(32), second.mid(32));
}

TEST_F(SecretStoreTest, SecretIsBoundToMachineAndName) {
    store.save("token", "session");
    EXPECT_EQ(SecretStore(secrets, "another-machine").load("session"), SecretLoad::unreadable());
    EXPECT_EQ(SecretStore(secrets, kMachine.toLower()).load("session"), SecretLoad::unreadable());
    ASSERT_TRUE(QFile::rename(store.filePath("session"), store.filePath("renamed")));
    EXPECT_EQ(store.load("renamed"), SecretLoad::unreadable());
    // Loading never removes what it cannot read.
    EXPECT_TRUE(QFile::exists(store.filePath("renamed")));
}

TEST_F(SecretStoreTest, EveryTruncationAndEveryFlippedByteIsUnreadable) {
    store.save("tok", "session");
    const QString path = store.filePath("session");
    const QByteArray good = test::readFile(path);
    for (qsizetype length = 0; length < good.size(); ++length) {
        test::writeFile(path, good.left(length));
        EXPECT_EQ(store.load("session"), SecretLoad::unreadable()) << "length " << length;
    }
    for (qsizetype at = 0; at < good.size(); ++at) {
        for (const char mask : {'\x01', '\x80'}) {
            QByteArray bad = good;
            bad[at] = static_cast<char>(bad[at] ^ mask);
            test::writeFile(path, bad);
            EXPECT_EQ(store.load("session"), SecretLoad::unreadable()) << "byte " << at;
        }
    }
    test::writeFile(path, good + '\0');
    EXPECT_EQ(store.load("session"), SecretLoad::unreadable());
    test::writeFile(path, good);
    EXPECT_EQ(store.load("session"), SecretLoad::ok("tok"));
}

TEST_F(SecretStoreTest, MalformedFilesAreUnreadable) {
    const QString path = store.filePath("session");
    test::writeFile(path, "Ovr1" + QByteArray(16, 's')); // exactly magic + salt
    EXPECT_EQ(store.load("session"), SecretLoad::unreadable());
    test::writeFile(path, "Ovr1" + QByteArray(16, 's') + QByteArray(27, 'b')); // box too short
    EXPECT_EQ(store.load("session"), SecretLoad::unreadable());
    QByteArray wrongMagic = craftFile(kMachine, "session", "tok");
    wrongMagic[3] = '2';
    test::writeFile(path, wrongMagic);
    EXPECT_EQ(store.load("session"), SecretLoad::unreadable());
    // Authentic, but the plaintext is not UTF-8.
    test::writeFile(path, craftFile(kMachine, "session", "\xff\xfe\xc3"));
    EXPECT_EQ(store.load("session"), SecretLoad::unreadable());
    test::writeFile(path, craftFile(kMachine, "session", "fine"));
    EXPECT_EQ(store.load("session"), SecretLoad::ok("fine"));
}

TEST_F(SecretStoreTest, HugeFileIsUnreadableWithoutBeingRead) {
    QDir().mkpath(secrets);
    QFile huge(store.filePath("session"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(craftFile(kMachine, "session", "tok"));
    ASSERT_TRUE(huge.resize(qint64(4) << 30)); // sparse
    huge.close();
    EXPECT_EQ(store.load("session"), SecretLoad::unreadable());
}

TEST_F(SecretStoreTest, JsonCorpusFilesAreUnreadableSecrets) {
    OVREL_REQUIRE_JSON_CORPUS(files);
    for (const QString& file : files) {
        test::writeFile(store.filePath("session"), test::readFile(file));
        EXPECT_EQ(store.load("session"), SecretLoad::unreadable()) << file.toStdString();
    }
}

TEST_F(SecretStoreTest, NothingToReadIsMissing) {
    EXPECT_EQ(store.load("session"), SecretLoad::missing()); // no directory
    QDir().mkpath(secrets);
    EXPECT_EQ(store.load("session"), SecretLoad::missing()); // no file
    QDir().mkpath(store.filePath("folder"));
    EXPECT_EQ(store.load("folder"), SecretLoad::missing());
}

TEST_F(SecretStoreTest, NamesThatEscapeTheDirectoryAreRefused) {
    // A valid secret for the name "../outside" sits just outside the directory.
    test::writeFile(dir.file("root/outside.bin"), craftFile(kMachine, "../outside", "leak"));
    for (const QString& name :
         {QStringLiteral("../outside"), QStringLiteral(""), QStringLiteral("."),
          QStringLiteral(".."), QStringLiteral("a/b"), QString::fromUtf8("a\0b", 3)}) {
        EXPECT_FALSE(SecretStore::isValidName(name));
        EXPECT_EQ(store.load(name), SecretLoad::missing());
        EXPECT_THROW(store.save("x", name), SecretStore::StoreError);
        store.remove(name);
    }
    EXPECT_TRUE(QFile::exists(dir.file("root/outside.bin")));
    EXPECT_FALSE(QFile::exists(secrets));
    EXPECT_TRUE(SecretStore::isValidName("session"));
    EXPECT_TRUE(SecretStore::isValidName(".hidden name ü"));
}

TEST_F(SecretStoreTest, FilesAre0600AndTheDirectory0700WhateverTheUmask) {
    const mode_t oldMask = ::umask(0);
    store.save("tok", "session");
    ::umask(oldMask);
    EXPECT_EQ(permissions(store.filePath("session")), 0600u);
    EXPECT_EQ(permissions(secrets), 0700u);
    EXPECT_EQ(entries(secrets), QStringList{"session.bin"}) << "no temporary file remains";
}

TEST_F(SecretStoreTest, TightensLooseDirectoryAndFilePermissions) {
    QDir().mkpath(secrets);
    ASSERT_EQ(::chmod(QFile::encodeName(secrets).constData(), 0777), 0);
    test::writeFile(store.filePath("session"), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(store.filePath("session")).constData(), 0644), 0);
    store.save("tok", "session");
    EXPECT_EQ(permissions(secrets), 0700u);
    EXPECT_EQ(permissions(store.filePath("session")), 0600u);
}

TEST_F(SecretStoreTest, LeftoverTemporaryFileIsReplaced) {
    test::writeFile(secrets + "/.session.tmp", "left over by a crash");
    store.save("tok", "session");
    EXPECT_EQ(entries(secrets), QStringList{"session.bin"});
    EXPECT_EQ(store.load("session"), SecretLoad::ok("tok"));
}

TEST_F(SecretStoreTest, FailureBeforeTheReplaceKeepsThePreviousSecret) {
    store.save("previous", "session");
    // Something that cannot be removed occupies the temporary name.
    test::writeFile(secrets + "/.session.tmp/blocker", "x");
    try {
        store.save("new", "session");
        FAIL() << "save succeeded";
    } catch (const SecretStore::StoreError& e) {
        EXPECT_EQ(e.kind(), SecretStore::StoreError::Kind::writeFailed);
        EXPECT_EQ(e.name(), "session");
    }
    EXPECT_EQ(store.load("session"), SecretLoad::ok("previous"));
    EXPECT_EQ(entries(secrets), QStringList({".session.tmp", "session.bin"}));
}

TEST_F(SecretStoreTest, FailedReplaceThrowsTheFileErrorAndLeavesNoTemporaryFile) {
    test::writeFile(store.filePath("session") + "/occupied", "x"); // session.bin is a folder
    EXPECT_THROW(store.save("tok", "session"), FileError);
    EXPECT_EQ(entries(secrets), QStringList{"session.bin"});
}

TEST_F(SecretStoreTest, UncreatableDirectoryThrowsTheFileError) {
    test::writeFile(dir.file("root"), "a file where the root should be");
    EXPECT_THROW(store.save("tok", "session"), FileError);
}

TEST_F(SecretStoreTest, TooLargeSecretIsRefusedRatherThanStoredUnreadable) {
    store.save("previous", "session");
    EXPECT_THROW(store.save(QString(SecretStore::kMaxFileBytes, QLatin1Char('x')), "session"),
                 SecretStore::StoreError);
    EXPECT_EQ(store.load("session"), SecretLoad::ok("previous"));
}

namespace {
// A file system on which the permissions do not stick.
class LoosePermissionsStore : public SecretStore {
public:
    LoosePermissionsStore(QString directory, std::optional<mode_t> seen)
        : SecretStore(std::move(directory), kMachine), m_seen(seen) {}

protected:
    std::optional<mode_t> filePermissions(const QString&) const override { return m_seen; }

private:
    std::optional<mode_t> m_seen;
};
} // namespace

TEST_F(SecretStoreTest, SecretWhosePermissionsDoNotStickIsRemoved) {
    for (const std::optional<mode_t> seen :
         {std::optional<mode_t>(0644), std::optional<mode_t>()}) {
        store.save("previous", "session");
        const LoosePermissionsStore loose(secrets, seen);
        EXPECT_THROW(loose.save("new", "session"), SecretStore::StoreError);
        EXPECT_EQ(store.load("session"), SecretLoad::missing());
        EXPECT_TRUE(entries(secrets).isEmpty());
    }
}

TEST_F(SecretStoreTest, RemoveDeletesOnlyThatSecretAndIgnoresErrors) {
    store.remove("session"); // nothing there yet
    store.save("a", "session");
    store.save("b", "other");
    store.remove("session");
    EXPECT_EQ(store.load("session"), SecretLoad::missing());
    EXPECT_EQ(store.load("other"), SecretLoad::ok("b"));
    QDir().mkpath(store.filePath("folder"));
    store.remove("folder");
    EXPECT_TRUE(QFileInfo(store.filePath("folder")).isDir());
}

TEST_F(SecretStoreTest, ConcurrentSavesNeverExposeAPartialFile) {
    store.save("v0", "session");
    std::atomic<bool> done = false;
    std::atomic<int> unreadable = 0;
    std::thread reader([&] {
        while (!done) {
            if (!store.load("session").isOk())
                ++unreadable;
        }
    });
    std::vector<std::thread> writers;
    for (int w = 0; w < 2; ++w) {
        writers.emplace_back([&, w] {
            for (int i = 0; i < 50; ++i) {
                try {
                    store.save(QStringLiteral("writer %1 value %2").arg(w).arg(i), "session");
                } catch (const std::exception&) {
                    // Losing the race for the temporary name is allowed; corrupting the file is
                    // not.
                }
            }
        });
    }
    for (auto& t : writers)
        t.join();
    done = true;
    reader.join();
    EXPECT_EQ(unreadable, 0);
    EXPECT_TRUE(store.load("session").isOk());
}

TEST(SecretStoreDefault, UsesTheMachineIdentityOrTheFallback) {
    TempDir data;
    const bool hadData = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    EXPECT_EQ(SecretStore::defaultDirectory(), data.path() + "/Ovrel/secrets");
    const SecretStore known = SecretStore::appDefault(test::FakeMachineIdentity(kMachine));
    EXPECT_EQ(known.directory(), data.path() + "/Ovrel/secrets");
    EXPECT_EQ(known.machineID(), kMachine);
    EXPECT_EQ(SecretStore::appDefault(test::FakeMachineIdentity(std::nullopt)).machineID(),
              "vn.ovrel.no-hardware-id");
    EXPECT_EQ(SecretStore::appDefault().machineID(),
              MachineIdentity::system().hardwareUUID().value_or("vn.ovrel.no-hardware-id"));
    if (hadData)
        qputenv("XDG_DATA_HOME", oldData);
    else
        qunsetenv("XDG_DATA_HOME");
}

TEST(SecretLoad, ComparesByCaseAndTextAndNeverDescribesTheSecret) {
    EXPECT_EQ(SecretLoad::ok("a"), SecretLoad::ok("a"));
    EXPECT_NE(SecretLoad::ok("a"), SecretLoad::ok("b"));
    EXPECT_NE(SecretLoad::ok(""), SecretLoad::missing());
    EXPECT_NE(SecretLoad::missing(), SecretLoad::unreadable());
    EXPECT_EQ(SecretLoad::missing().text(), std::nullopt);
    EXPECT_EQ(SecretLoad::ok("hunter2").description(), "ok");
    EXPECT_EQ(SecretLoad::unreadable().description(), "unreadable");
}
