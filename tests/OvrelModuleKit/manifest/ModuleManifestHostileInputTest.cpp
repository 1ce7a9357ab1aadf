#include "JsonCorpus.h"
#include "ManifestFixture.h"

#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ovrel;
using namespace ovrel::test;
using Kind = ManifestError::Kind;

namespace {

// The minimal manifest with one more member spliced in as raw JSON text.
QByteArray withRawMember(const QByteArray& member) {
    QByteArray bytes = toBytes(minimalManifest());
    bytes.chop(1);
    return bytes + "," + member + "}";
}

} // namespace

// Whatever the suite's files hold, the loader answers with a manifest or a
// ManifestError: n_ files are never JSON, so they are invalidJSON.
TEST(ModuleManifestHostileInput, JsonTestSuite) {
    OVREL_REQUIRE_JSON_CORPUS(files);
    int rejected = 0;
    for (const QString& path : files) {
        const QByteArray bytes = readFile(path);
        const QString name = QFileInfo(path).fileName();
        const std::optional<ManifestError> error = loadError(bytes);
        if (name.startsWith("n_")) {
            EXPECT_EQ(error, ManifestError(Kind::invalidJSON)) << name.toStdString();
            ++rejected;
        }
        // The same bytes as the value of an unknown member: valid documents still load.
        if (!name.startsWith("n_") && bytes.size() < 100000)
            loadError(withRawMember("\"x\":" + bytes));
    }
    EXPECT_GT(rejected, 150);
}

TEST(ModuleManifestHostileInput, DeepNestingIsBoundedNotFatal) {
    const auto nested = [](int depth) { return QByteArray(depth, '[') + QByteArray(depth, ']'); };
    EXPECT_EQ(loadError(withRawMember("\"x\":" + nested(500))), std::nullopt);
    EXPECT_EQ(loadError(withRawMember("\"x\":" + nested(100000))),
              ManifestError(Kind::invalidJSON));
    EXPECT_EQ(loadError(QByteArray(1 << 20, '[')), ManifestError(Kind::invalidJSON));
}

TEST(ModuleManifestHostileInput, InvalidUtf8AnywhereIsInvalidJson) {
    EXPECT_EQ(loadError(withRawMember("\"x\":\"\xc3\x28\"")), ManifestError(Kind::invalidJSON));
    QByteArray bytes = toBytes(minimalManifest());
    bytes.replace("Clock", "Cl\xffock");
    EXPECT_EQ(loadError(bytes), ManifestError(Kind::invalidJSON));
    EXPECT_EQ(loadError(withRawMember("\"x\":\"\\udead\"")), ManifestError(Kind::invalidJSON));
}

TEST(ModuleManifestHostileInput, RepeatedKeysTakeTheLastValue) {
    EXPECT_EQ(loadError(withRawMember("\"id\":\"other\"")), ManifestError(Kind::idMismatch));
    EXPECT_EQ(loadError(withRawMember("\"mode\":\"x\",\"mode\":\"resident\"")), std::nullopt);
}

TEST(ModuleManifestHostileInput, HugeAndTruncatedDocuments) {
    const QByteArray big = QByteArray(16 * 1024 * 1024, 'a');
    EXPECT_EQ(loadError(withRawMember("\"x\":\"" + big + "\"")), std::nullopt);
    QJsonObject j = minimalManifest();
    j["summary"] = texts("x", QString(100000, QChar('y')));
    EXPECT_EQ(loadError(j), ManifestError(Kind::summaryTooLong));

    const QByteArray full = toBytes(minimalManifest());
    for (qsizetype n = 0; n < full.size(); ++n)
        EXPECT_EQ(loadError(full.left(n)), ManifestError(Kind::invalidJSON)) << n;
}

TEST(ModuleManifestReadData, ReadsTheManifestOfABundleWithinBounds) {
    TempDir dir;
    const QString bundle = dir.file("Clock.app");
    EXPECT_EQ(ModuleManifest::readData(bundle), std::nullopt);

    const QString file = ModulePaths::manifestFile(bundle);
    writeFile(file, toBytes(minimalManifest()));
    const std::optional<QByteArray> data = ModuleManifest::readData(bundle);
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(ModuleManifest::load(*data, "clock").id(), "clock");

    writeFile(file, QByteArray(ModuleManifest::kMaxFileSize + 1, ' '));
    EXPECT_EQ(ModuleManifest::readData(bundle), std::nullopt);

    // A FIFO in place of the file must not block the reader.
    QFile::remove(file);
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_EQ(ModuleManifest::readData(bundle), std::nullopt);
}
