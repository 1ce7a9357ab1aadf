#include "Platform/crypto/Crypto.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <cstdio>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

// One Wycheproof vector file from tests/data, or an empty object when it is missing.
QJsonObject wycheproof(const QString& file) {
    const QString dir = test::corpusDir(QStringLiteral("wycheproof/testvectors_v1"));
    if (dir.isEmpty())
        return {};
    return QJsonDocument::fromJson(test::readFile(dir + QLatin1Char('/') + file)).object();
}

QByteArray hex(const QJsonObject& vector, const char* key) {
    return QByteArray::fromHex(vector.value(QLatin1String(key)).toString().toLatin1());
}

QString label(const QJsonObject& vector) {
    return QStringLiteral("tcId %1 (%2)")
        .arg(vector.value(QLatin1String("tcId")).toInt())
        .arg(vector.value(QLatin1String("comment")).toString());
}

bool isValid(const QJsonObject& vector) {
    return vector.value(QLatin1String("result")).toString() == QLatin1String("valid");
}

void report(const char* what, int checked) {
    std::printf("[ vectors  ] %s: %d checked\n", what, checked);
    testing::Test::RecordProperty(what, checked);
}

} // namespace

TEST(CryptoVectors, AesGcmAgreesWithWycheproof) {
    const QJsonObject suite = wycheproof(QStringLiteral("aes_gcm_test.json"));
    ASSERT_FALSE(suite.isEmpty()) << "tests/data/wycheproof is missing";
    int supported = 0;
    int refused = 0;
    for (const QJsonValue groupValue : suite.value(QLatin1String("testGroups")).toArray()) {
        const QJsonObject group = groupValue.toObject();
        const bool ours = group.value(QLatin1String("keySize")).toInt() == 256 &&
                          group.value(QLatin1String("ivSize")).toInt() == 96 &&
                          group.value(QLatin1String("tagSize")).toInt() == 128;
        for (const QJsonValue testValue : group.value(QLatin1String("tests")).toArray()) {
            const QJsonObject v = testValue.toObject();
            const QByteArray key = hex(v, "key"), iv = hex(v, "iv"), aad = hex(v, "aad"),
                             msg = hex(v, "msg"), ct = hex(v, "ct"), tag = hex(v, "tag");
            SCOPED_TRACE(label(v).toStdString());
            const auto opened = Crypto::aesGcmOpen(key, iv + ct + tag, aad);
            if (!ours) {
                // Other key and nonce sizes are refused, never mis-processed.
                EXPECT_FALSE(opened.has_value());
                EXPECT_FALSE(Crypto::aesGcmSealDetached(key, iv, msg, aad).has_value());
                ++refused;
                continue;
            }
            ++supported;
            if (!isValid(v)) {
                EXPECT_FALSE(opened.has_value());
                EXPECT_FALSE(Crypto::aesGcmOpenDetached(key, iv, ct, tag, aad).has_value());
                continue;
            }
            ASSERT_TRUE(opened.has_value());
            EXPECT_EQ(opened->toHex(), msg.toHex());
            EXPECT_EQ(Crypto::aesGcmSeal(key, msg, iv, aad).toHex(), (iv + ct + tag).toHex());
            const auto detached = Crypto::aesGcmSealDetached(key, iv, msg, aad);
            ASSERT_TRUE(detached.has_value());
            EXPECT_EQ(detached->ciphertext.toHex(), ct.toHex());
            EXPECT_EQ(detached->tag.toHex(), tag.toHex());
            const auto openedDetached = Crypto::aesGcmOpenDetached(key, iv, ct, tag, aad);
            ASSERT_TRUE(openedDetached.has_value());
            EXPECT_EQ(openedDetached->toHex(), msg.toHex());
        }
    }
    report("AES-256-GCM vectors", supported);
    report("AES-GCM vectors with unsupported sizes refused", refused);
    EXPECT_GT(supported, 0);
}

TEST(CryptoVectors, HkdfSha256AgreesWithWycheproof) {
    const QJsonObject suite = wycheproof(QStringLiteral("hkdf_sha256_test.json"));
    ASSERT_FALSE(suite.isEmpty()) << "tests/data/wycheproof is missing";
    int checked = 0;
    for (const QJsonValue groupValue : suite.value(QLatin1String("testGroups")).toArray()) {
        for (const QJsonValue testValue :
             groupValue.toObject().value(QLatin1String("tests")).toArray()) {
            const QJsonObject v = testValue.toObject();
            SCOPED_TRACE(label(v).toStdString());
            const QByteArray okm = Crypto::hkdfSha256(hex(v, "ikm"), hex(v, "salt"), hex(v, "info"),
                                                      v.value(QLatin1String("size")).toInt());
            if (isValid(v))
                EXPECT_EQ(okm.toHex(), hex(v, "okm").toHex());
            else
                EXPECT_TRUE(okm.isEmpty());
            ++checked;
        }
    }
    report("HKDF-SHA256 vectors", checked);
    EXPECT_GT(checked, 0);
}

TEST(Crypto, HkdfRefusesNonPositiveLengths) {
    EXPECT_TRUE(Crypto::hkdfSha256("key", "salt", "info", 0).isEmpty());
    EXPECT_TRUE(Crypto::hkdfSha256("key", "salt", "info", -1).isEmpty());
    EXPECT_EQ(Crypto::hkdfSha256("key", "salt", "info", 255 * 32).size(), 255 * 32);
}

TEST(Crypto, HkdfAcceptsEmptyInputKeyMaterial) {
    // RFC 5869 allows it; Wycheproof has no such vector. Reference from a plain HMAC construction.
    EXPECT_EQ(Crypto::hkdfSha256({}, "salt", "info", 32).toHex(),
              "7aac7b8120501c2c8e1ee50e6cde135361e99ceb9d8d406ac528b9e9175614c0");
}

TEST(Crypto, Sha256IncrementalMatchesOneShot) {
    EXPECT_EQ(Crypto::sha256("abc").toHex(),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Crypto::sha256({}).toHex(),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    const QByteArray data = Crypto::randomBytes(10000);
    const QByteArray expected = Crypto::sha256(data);
    Crypto::Sha256 hasher;
    for (const int piece : {1, 63, 64, 65, 1000, 4096}) {
        for (qsizetype at = 0; at < data.size(); at += piece)
            hasher.update(
                QByteArrayView(data).sliced(at, std::min<qsizetype>(piece, data.size() - at)));
        EXPECT_EQ(hasher.finish(), expected) << "pieces of " << piece;
    }
    // finish() leaves the object ready for the next message.
    hasher.update("ab");
    hasher.update("c");
    EXPECT_EQ(hasher.finish(), Crypto::sha256("abc"));
    EXPECT_EQ(hasher.finish(), Crypto::sha256({}));
}

TEST(Crypto, Sha1KnownAnswers) {
    EXPECT_EQ(Crypto::sha1("abc").toHex(), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(Crypto::sha1({}).toHex(), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
}

TEST(Crypto, AesGcmRoundTripAndRefusals) {
    const QByteArray key = Crypto::randomBytes(Crypto::kAesKeyBytes);
    const QByteArray sealed = Crypto::aesGcmSeal(key, "secret", {}, "aad");
    ASSERT_EQ(sealed.size(), Crypto::kGcmNonceBytes + 6 + Crypto::kGcmTagBytes);
    EXPECT_EQ(Crypto::aesGcmOpen(key, sealed, "aad"), QByteArray("secret"));
    EXPECT_FALSE(Crypto::aesGcmOpen(key, sealed, "other aad").has_value());
    EXPECT_FALSE(Crypto::aesGcmOpen(key, sealed).has_value());
    EXPECT_FALSE(Crypto::aesGcmOpen(key, sealed.left(sealed.size() - 1), "aad").has_value());
    EXPECT_FALSE(Crypto::aesGcmOpen(key, sealed.left(27)).has_value());
    EXPECT_FALSE(Crypto::aesGcmOpen(key.left(16), sealed, "aad").has_value());
    EXPECT_TRUE(Crypto::aesGcmSeal(key.left(31), "x").isEmpty());
    EXPECT_TRUE(Crypto::aesGcmSeal(key, "x", QByteArray(11, 'n')).isEmpty());
    // An empty message still authenticates.
    const QByteArray empty = Crypto::aesGcmSeal(key, {});
    ASSERT_EQ(empty.size(), Crypto::kGcmNonceBytes + Crypto::kGcmTagBytes);
    EXPECT_EQ(Crypto::aesGcmOpen(key, empty), QByteArray());
    // Fresh nonces: the same message never seals to the same bytes.
    EXPECT_NE(Crypto::aesGcmSeal(key, "secret").left(Crypto::kGcmNonceBytes),
              Crypto::aesGcmSeal(key, "secret").left(Crypto::kGcmNonceBytes));
}

TEST(Crypto, RandomBytesHaveTheRequestedSizeAndDiffer) {
    EXPECT_TRUE(Crypto::randomBytes(0).isEmpty());
    EXPECT_TRUE(Crypto::randomBytes(-5).isEmpty());
    QSet<QByteArray> seen;
    for (int i = 0; i < 100; ++i) {
        const QByteArray bytes = Crypto::randomBytes(16);
        ASSERT_EQ(bytes.size(), 16);
        seen.insert(bytes);
    }
    EXPECT_EQ(seen.size(), 100);
    EXPECT_EQ(Crypto::randomBytes(100000).size(), 100000);
}

TEST(Crypto, WipeClearsTheBuffer) {
    QByteArray key = Crypto::randomBytes(32);
    Crypto::wipe(key);
    EXPECT_TRUE(key.isEmpty());
}
