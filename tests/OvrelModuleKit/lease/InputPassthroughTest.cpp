#include "OvrelModuleKit/lease/InputPassthrough.h"

#include "JsonCorpus.h"
#include "OvrelModuleKit/json/OrderedJsonWriter.h"
#include "Platform/files/FileError.h"
#include "Platform/notify/DarwinNotify.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QFile>
#include <QTest>
#include <chrono>
#include <gtest/gtest.h>
#include <limits>

using ovrel::InputPassthroughLease;
using ovrel::ModulePaths;
namespace Passthrough = ovrel::InputPassthrough;
namespace UnixTime = ovrel::UnixTime;
using namespace std::chrono_literals;

namespace {

class InputPassthroughTest : public ::testing::Test {
protected:
    ovrel::test::TempDir dir;
    ModulePaths paths{dir.path() + "/missing/Ovrel"};
    const UnixTime::TimePoint t = *UnixTime::fromSeconds(1700000000.5);

    void putLease(const QByteArray& bytes) const {
        ovrel::test::writeFile(Passthrough::file(paths), bytes);
    }
};

} // namespace

TEST_F(InputPassthroughTest, AcquireWritesOwnerAndEnd) {
    EXPECT_EQ(Passthrough::file(paths), paths.root() + "/input-passthrough.json");
    Passthrough::acquire("clock", 5, paths, t);
    EXPECT_EQ(ovrel::test::readFile(Passthrough::file(paths)).toStdString(),
              R"({"owner":"clock","until":1700000005.5})");
    EXPECT_EQ(Passthrough::lease(paths), (InputPassthroughLease{"clock", 1700000005.5}));
}

TEST_F(InputPassthroughTest, ActiveStrictlyBeforeItsEnd) {
    Passthrough::acquire("clock", 5, paths, t);
    EXPECT_TRUE(Passthrough::isActive(paths, t));
    EXPECT_TRUE(Passthrough::isActive(paths, t + 4900ms));
    EXPECT_FALSE(Passthrough::isActive(paths, t + 5s));
    EXPECT_FALSE(Passthrough::isActive(paths, t + 1h));
    EXPECT_TRUE(QFile::exists(Passthrough::file(paths))); // expiry removes nothing
    EXPECT_TRUE(Passthrough::lease(paths));               // nor hides the stored lease
}

TEST_F(InputPassthroughTest, TheLastAcquireWins) {
    Passthrough::acquire("clock", 60, paths, t);
    Passthrough::acquire("pulse", 1, paths, t);
    EXPECT_EQ(Passthrough::lease(paths)->owner, "pulse");
    EXPECT_FALSE(Passthrough::isActive(paths, t + 2s));
}

TEST_F(InputPassthroughTest, ReleaseRemovesTheLease) {
    Passthrough::acquire("clock", 60, paths, t);
    Passthrough::release(paths);
    EXPECT_FALSE(QFile::exists(Passthrough::file(paths)));
    EXPECT_FALSE(Passthrough::isActive(paths, t));
    Passthrough::release(paths); // nothing to release is fine
    EXPECT_FALSE(Passthrough::lease(paths));
}

TEST_F(InputPassthroughTest, AcquireAndReleaseAnnounceTheChange) {
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no D-Bus session bus";
    int posted = 0;
    const auto token =
        ovrel::DarwinNotify::observe(Passthrough::notificationName, [&posted] { ++posted; });
    Passthrough::release(paths); // also without a lease
    EXPECT_TRUE(QTest::qWaitFor([&] { return posted == 1; }, 5000));
    EXPECT_FALSE(QFile::exists(Passthrough::file(paths)));
    Passthrough::acquire("clock", 5, paths, t);
    EXPECT_TRUE(QTest::qWaitFor([&] { return posted == 2; }, 5000));

    // A failed acquire holds no lease and says nothing.
    EXPECT_THROW(Passthrough::acquire("clock", std::numeric_limits<double>::infinity(), paths, t),
                 ovrel::JsonEncodingError);
    ovrel::test::TempDir other;
    ovrel::test::writeFile(other.file("Ovrel"), "a file where the root belongs");
    EXPECT_THROW(Passthrough::acquire("clock", 5, ModulePaths(other.file("Ovrel")), t),
                 ovrel::FileError);
    // Posts from one connection arrive in order: once this one is in, any
    // post of the failed calls would have been counted.
    bool sentinel = false;
    const QString sentinelName = QStringLiteral("vn.ovrel.test.passthrough-sentinel");
    const auto sentinelToken =
        ovrel::DarwinNotify::observe(sentinelName, [&sentinel] { sentinel = true; });
    ovrel::DarwinNotify::post(sentinelName);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sentinel; }, 5000));
    EXPECT_EQ(posted, 2);
}

TEST_F(InputPassthroughTest, IncompleteOrMistypedLeasesAreNoLease) {
    const char* invalid[] = {
        R"({"owner":"clock"})",
        R"({"until":9999999999})",
        R"({"owner":"clock","until":"9999999999"})",
        R"({"owner":1,"until":9999999999})",
        R"({"owner":"clock","until":null})",
        R"({"owner":"clock","until":1e999})",
        "",
    };
    for (const char* json : invalid) {
        putLease(json);
        EXPECT_FALSE(Passthrough::lease(paths)) << json;
        EXPECT_FALSE(Passthrough::isActive(paths, t)) << json;
    }
    putLease(R"({"until":1700000010,"owner":"","note":true})");
    EXPECT_EQ(Passthrough::lease(paths), (InputPassthroughLease{"", 1700000010}));
    EXPECT_TRUE(Passthrough::isActive(paths, t));
}

TEST_F(InputPassthroughTest, AnUnpairedSurrogateEscapeIsNoLease) {
    putLease(R"({"owner":"pulse\ud83d\ude00","until":1700000010})");
    ASSERT_TRUE(Passthrough::lease(paths));
    putLease(R"({"owner":"pulse\udead","until":1700000010})");
    EXPECT_FALSE(Passthrough::lease(paths));
    EXPECT_FALSE(Passthrough::isActive(paths, t));
}

TEST_F(InputPassthroughTest, SurvivesTheJsonCorpus) {
    OVREL_REQUIRE_JSON_CORPUS(files);
    for (const QString& file : files) {
        putLease(ovrel::test::readFile(file));
        EXPECT_FALSE(Passthrough::lease(paths)) << file.toStdString();
        EXPECT_FALSE(Passthrough::isActive(paths, t)) << file.toStdString();
    }
}
