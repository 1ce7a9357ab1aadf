#include "OvrelModuleKit/inbox/ModuleInbox.h"

#include "JsonCorpus.h"
#include "OvrelModuleKit/inbox/ModuleCommand.h"
#include "OvrelModuleKit/json/OrderedJsonWriter.h"
#include "Platform/files/FileError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <atomic>
#include <gtest/gtest.h>
#include <limits>
#include <mutex>
#include <thread>

using ovrel::InboxCommand;
using ovrel::ModuleInbox;
using ovrel::ModulePaths;
namespace UnixTime = ovrel::UnixTime;

namespace {

class ModuleInboxTest : public ::testing::Test {
protected:
    ovrel::test::TempDir dir;
    ModulePaths paths{dir.path() + "/Ovrel"};
    ModuleInbox inbox{paths, "clock"};

    QStringList moduleDirEntries() const {
        return QDir(paths.moduleDir("clock"))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    void putInboxBytes(const QByteArray& bytes) const {
        ovrel::test::writeFile(inbox.file(), bytes);
    }
};

} // namespace

TEST_F(ModuleInboxTest, WritesCompactOrderedCommand) {
    inbox.write("run", QString("a\"b"), *UnixTime::fromSeconds(1700000000.25));
    EXPECT_EQ(ovrel::test::readFile(paths.inboxFile("clock")).toStdString(),
              R"({"command":"run","at":1700000000.25,"argument":"a\"b"})");

    inbox.write(ovrel::ModuleCommand::open, std::nullopt, *UnixTime::fromSeconds(1700000001));
    EXPECT_EQ(ovrel::test::readFile(paths.inboxFile("clock")).toStdString(),
              R"({"command":"open","at":1700000001})");
    const auto taken = inbox.take(0);
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, (InboxCommand{"open", 1700000001, std::nullopt}));
}

TEST_F(ModuleInboxTest, TimeOfWritingReadsBackExactly) {
    const auto now = std::chrono::system_clock::now();
    inbox.write("run", QString(), now);
    const auto taken = inbox.take(0);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->at, UnixTime::toSeconds(now));
    EXPECT_EQ(taken->argument, QString()); // an empty argument is still an argument
}

TEST_F(ModuleInboxTest, WriteFailuresAreThrownAndLeaveNothing) {
    ovrel::test::writeFile(paths.moduleDir("clock"), "a file where the directory belongs");
    EXPECT_THROW(inbox.write("open", std::nullopt, std::chrono::system_clock::now()),
                 ovrel::FileError);

    ModuleInbox other(paths, "other");
    const QChar lone[] = {QChar(char16_t(0xD800))};
    EXPECT_THROW(other.write(QString(lone, 1), std::nullopt, std::chrono::system_clock::now()),
                 ovrel::JsonEncodingError);
    EXPECT_FALSE(QFile::exists(paths.inboxFile("other")));

    // An id is a path component: one that could leave the tree is refused.
    ModuleInbox escaping(paths, "../outside");
    EXPECT_THROW(escaping.write("open", std::nullopt, std::chrono::system_clock::now()),
                 ovrel::FileError);
    EXPECT_FALSE(QFile::exists(paths.root() + "/outside/inbox.json"));
    ovrel::test::writeFile(paths.root() + "/outside/inbox.json", R"({"command":"x","at":5})");
    EXPECT_FALSE(escaping.take(0));
    EXPECT_TRUE(QFile::exists(paths.root() + "/outside/inbox.json"));
}

TEST_F(ModuleInboxTest, TakeConsumesTheSlotWhateverItHolds) {
    EXPECT_FALSE(inbox.take(0));
    EXPECT_FALSE(QFile::exists(inbox.file()));

    inbox.write("open", std::nullopt, *UnixTime::fromSeconds(100));
    EXPECT_FALSE(inbox.take(100)); // same time as the last command acted on: a replay
    EXPECT_FALSE(QFile::exists(inbox.file()));

    putInboxBytes("not json");
    EXPECT_FALSE(inbox.take(0));
    EXPECT_TRUE(moduleDirEntries().isEmpty()) << moduleDirEntries().join(' ').toStdString();

    putInboxBytes(QByteArray(ModuleInbox::kMaxFileBytes + 1, ' '));
    EXPECT_FALSE(inbox.take(0));
    EXPECT_TRUE(moduleDirEntries().isEmpty());

    inbox.write("open", std::nullopt, *UnixTime::fromSeconds(200));
    EXPECT_TRUE(inbox.take(100));
    EXPECT_FALSE(inbox.take(100));
}

TEST_F(ModuleInboxTest, ALaterWriteReplacesTheWaitingCommand) {
    inbox.write("first", QString("1"), *UnixTime::fromSeconds(10));
    inbox.write("second", std::nullopt, *UnixTime::fromSeconds(11));
    EXPECT_EQ(inbox.take(0), (InboxCommand{"second", 11, std::nullopt}));
    EXPECT_FALSE(inbox.take(0));
}

TEST_F(ModuleInboxTest, OnlyWellTypedCommandsDecode) {
    const std::pair<const char*, std::optional<InboxCommand>> cases[] = {
        {R"({"command":"open","at":5})", InboxCommand{"open", 5, std::nullopt}},
        {R"({"command":"open","at":5,"argument":null,"extra":[1]})",
         InboxCommand{"open", 5, std::nullopt}},
        {R"({"at":5.5,"argument":"","command":"x"})", InboxCommand{"x", 5.5, QString()}},
        {R"({"command":"open"})", std::nullopt},
        {R"({"at":5})", std::nullopt},
        {R"({"command":"open","at":"5"})", std::nullopt},
        {R"({"command":7,"at":5})", std::nullopt},
        {R"({"command":"open","at":5,"argument":3})", std::nullopt},
        {R"({"command":"open","at":1e400})", std::nullopt},
        {R"([{"command":"open","at":5}])", std::nullopt},
        {"{\"command\":\"op\xff\",\"at\":5}", std::nullopt},
        {"{\"command\":\"open\",\"at\":5", std::nullopt},
    };
    for (const auto& [json, expected] : cases) {
        EXPECT_EQ(InboxCommand::decode(QByteArray(json)), expected) << json;
        putInboxBytes(QByteArray(json));
        EXPECT_EQ(inbox.take(0), expected) << json;
        EXPECT_FALSE(QFile::exists(inbox.file()));
    }
}

TEST_F(ModuleInboxTest, AcceptsOnlyCommandsNewerThanTheLastOneActedOn) {
    const InboxCommand command{"open", 100.5, std::nullopt};
    EXPECT_TRUE(ModuleInbox::shouldAccept(command, 0));
    EXPECT_TRUE(ModuleInbox::shouldAccept(command, 100.49));
    EXPECT_FALSE(ModuleInbox::shouldAccept(command, 100.5));
    EXPECT_FALSE(ModuleInbox::shouldAccept(command, 101));
    EXPECT_FALSE(ModuleInbox::shouldAccept(command, std::numeric_limits<double>::infinity()));
}

TEST_F(ModuleInboxTest, ConcurrentTakersNeverShareACommand) {
    for (int round = 0; round < 200; ++round) {
        inbox.write("open", QString::number(round), *UnixTime::fromSeconds(1000 + round));
        std::atomic<int> received{0};
        std::atomic<bool> go{false};
        std::vector<std::thread> takers;
        for (int t = 0; t < 4; ++t) {
            takers.emplace_back([&] {
                while (!go)
                    std::this_thread::yield();
                if (inbox.take(0))
                    ++received;
            });
        }
        go = true;
        for (std::thread& t : takers)
            t.join();
        ASSERT_EQ(received.load(), 1) << "round " << round;
    }
    EXPECT_TRUE(moduleDirEntries().isEmpty());
}

TEST_F(ModuleInboxTest, CommandsWrittenDuringTakesAreDeliveredAtMostOnce) {
    constexpr int kCommands = 400;
    std::atomic<bool> writing{true};
    std::mutex mutex;
    QList<QString> delivered;
    std::vector<std::thread> takers;
    for (int t = 0; t < 3; ++t) {
        takers.emplace_back([&] {
            while (writing || QFile::exists(inbox.file())) {
                if (const auto command = inbox.take(0)) {
                    std::lock_guard lock(mutex);
                    delivered.append(*command->argument);
                }
            }
        });
    }
    for (int i = 0; i < kCommands; ++i)
        inbox.write("open", QString::number(i), *UnixTime::fromSeconds(1 + i));
    writing = false;
    for (std::thread& t : takers)
        t.join();
    const QSet<QString> unique(delivered.cbegin(), delivered.cend());
    EXPECT_EQ(unique.size(), delivered.size());
    EXPECT_TRUE(unique.contains(QString::number(kCommands - 1))); // the last write is never lost
    EXPECT_TRUE(moduleDirEntries().isEmpty());
}

TEST_F(ModuleInboxTest, AnUnpairedSurrogateEscapeNeverReachesTheModule) {
    putInboxBytes(R"({"command":"open","at":5,"argument":"\ud83d\ude00"})");
    const auto paired = inbox.take(0);
    ASSERT_TRUE(paired);
    EXPECT_EQ(paired->argument, QString::fromUtf8("\xF0\x9F\x98\x80"));
    putInboxBytes(R"({"command":"open","at":6,"argument":"\udead"})");
    EXPECT_FALSE(inbox.take(0));
    putInboxBytes(R"({"command":"\ud83d","at":7})");
    EXPECT_FALSE(inbox.take(0));
    EXPECT_TRUE(moduleDirEntries().isEmpty());
}

TEST_F(ModuleInboxTest, SurvivesTheJsonCorpus) {
    OVREL_REQUIRE_JSON_CORPUS(files);
    for (const QString& file : files) {
        putInboxBytes(ovrel::test::readFile(file));
        EXPECT_FALSE(inbox.take(0)) << file.toStdString();
        ASSERT_TRUE(moduleDirEntries().isEmpty()) << file.toStdString();
    }
}
