#include "OvrelModuleKit/launch/ModuleStartupLog.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using ovrel::ModulePaths;
using ovrel::ModuleStartupLog;
namespace UnixTime = ovrel::UnixTime;

namespace {

UnixTime::TimePoint at(double seconds) {
    return *UnixTime::fromSeconds(seconds);
}

class ModuleStartupLogTest : public ::testing::Test {
protected:
    ovrel::test::TempDir dir;
    ModulePaths paths{dir.path() + "/Ovrel"};

    QByteArray fileBytes() const { return ovrel::test::readFile(paths.startupLogFile("pulse")); }
    void putFile(const QByteArray& bytes) const {
        ovrel::test::writeFile(paths.startupLogFile("pulse"), bytes);
    }
    static std::vector<double> seconds(const ModuleStartupLog& log) {
        std::vector<double> out;
        for (const auto& time : log.timestamps())
            out.push_back(UnixTime::toSeconds(time));
        return out;
    }
};

} // namespace

TEST_F(ModuleStartupLogTest, FirstRecordCreatesTheDirectoryAndACompactArray) {
    ModuleStartupLog log(paths, "pulse", 20);
    log.record(at(1700000000.25));
    EXPECT_EQ(fileBytes(), "[1700000000.25]");
    log.record(at(1700000060));
    EXPECT_EQ(fileBytes(), "[1700000000.25,1700000060]");
    EXPECT_EQ(seconds(log), (std::vector<double>{1700000000.25, 1700000060}));
}

TEST_F(ModuleStartupLogTest, KeepsTheNewestEntriesWithTheNewOneLast) {
    putFile("[100,200,300]");
    ModuleStartupLog(paths, "pulse", 3).record(at(400));
    EXPECT_EQ(fileBytes(), "[200,300,400]");
}

TEST_F(ModuleStartupLogTest, ShrinksALongerFileToTheLimit) {
    putFile("[1,2,3,4,5,6]");
    ModuleStartupLog(paths, "pulse", 2).record(at(7));
    EXPECT_EQ(fileBytes(), "[6,7]");
}

TEST_F(ModuleStartupLogTest, MaxEntriesBelowOneMeansOne) {
    EXPECT_EQ(ModuleStartupLog(paths, "pulse", 0).maxEntries(), 1);
    EXPECT_EQ(ModuleStartupLog(paths, "pulse", -5).maxEntries(), 1);
    putFile("[1,2]");
    ModuleStartupLog(paths, "pulse", 0).record(at(3));
    EXPECT_EQ(fileBytes(), "[3]");
}

TEST_F(ModuleStartupLogTest, ReadsUnsortedFilesInOrder) {
    putFile("[30, 10.5, 20]");
    EXPECT_EQ(seconds(ModuleStartupLog(paths, "pulse", 20)), (std::vector<double>{10.5, 20, 30}));
}

TEST_F(ModuleStartupLogTest, AClockSetBackStillDropsTheOldestEntry) {
    putFile("[100,200,300]");
    ModuleStartupLog(paths, "pulse", 3).record(at(150));
    EXPECT_EQ(fileBytes(), "[150,200,300]");
}

TEST_F(ModuleStartupLogTest, UnusableFilesReadAsEmptyAndAreReplacedOnRecord) {
    const QList<QByteArray> bad = {
        "",
        "not json",
        "{\"starts\":[1]}",
        "[1,\"2\"]",
        "[1,null]",
        "[1,[2]]",
        "[1e300]",
        "[1,2",
        QByteArray("[\"\xff\"]"),
        QByteArray(200, '[') + QByteArray(200, ']'),
    };
    for (const QByteArray& bytes : bad) {
        putFile(bytes);
        ModuleStartupLog log(paths, "pulse", 20);
        EXPECT_TRUE(log.timestamps().empty()) << bytes.toStdString();
        log.record(at(5));
        EXPECT_EQ(fileBytes(), "[5]") << bytes.toStdString();
    }
}

TEST_F(ModuleStartupLogTest, OversizedFileReadsAsEmpty) {
    QByteArray huge = "[1";
    while (huge.size() <= ModuleStartupLog::kMaxFileBytes)
        huge += ",1";
    putFile(huge + "]");
    EXPECT_TRUE(ModuleStartupLog(paths, "pulse", 20).timestamps().empty());
}

TEST_F(ModuleStartupLogTest, MissingFileReadsAsEmpty) {
    EXPECT_TRUE(ModuleStartupLog(paths, "pulse", 20).timestamps().empty());
}

TEST_F(ModuleStartupLogTest, InvalidIdTouchesNothing) {
    ModuleStartupLog log(paths, "../escape", 20);
    log.record(at(1));
    EXPECT_TRUE(log.timestamps().empty());
    EXPECT_FALSE(QDir(paths.root()).exists());
}

TEST_F(ModuleStartupLogTest, FailureToWriteIsIgnored) {
    // A file where the module directory should be.
    ovrel::test::writeFile(paths.moduleDir("pulse"), "in the way");
    ModuleStartupLog log(paths, "pulse", 20);
    EXPECT_NO_THROW(log.record(at(1)));
    EXPECT_TRUE(log.timestamps().empty());
}
