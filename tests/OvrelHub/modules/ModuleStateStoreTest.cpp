#include "OvrelHub/modules/ModuleStateStore.h"
#include "JsonCorpus.h"
#include "Platform/system/SystemLog.h"
#include "TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

using namespace ovrel;

namespace {

InstalledModule module(const QString& id) {
    InstalledModule m;
    m.id = id;
    m.version = "1.0";
    m.appName = id + ".app";
    return m;
}

struct ModuleStateStoreTest : ::testing::Test {
    test::TempDir dir;
    ModuleStateStore store{ModulePaths(dir.file("Ovrel"))};

    QString stateFile() const { return store.paths().stateFile(); }
    QStringList rootEntries() const {
        return QDir(store.paths().root())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    QStringList asideFiles() const {
        return QDir(store.paths().root())
            .entryList({"modules-state.json.unreadable-*"}, QDir::Files | QDir::Hidden);
    }
    ModulesState twoModules() const {
        ModulesState state;
        state.installed.emplace("alarm", module("alarm"));
        InstalledModule clock = module("clock");
        clock.hotkeys.emplace("open", Hotkey(40, false, true, false, true));
        clock.shortcutLinkName = "Clock";
        state.installed.emplace("clock", clock);
        return state;
    }
};

} // namespace

TEST_F(ModuleStateStoreTest, MissingFileLoadsEmptyAndSavedStateLoadsBack) {
    EXPECT_EQ(store.load(), ModulesState::empty());
    const ModulesState state = twoModules();
    store.save(state);
    EXPECT_EQ(store.load(), state);
    EXPECT_EQ(test::readFile(stateFile()), state.encode());
}

TEST_F(ModuleStateStoreTest, UpdateKeepsEverythingItDoesNotTouch) {
    store.save(twoModules());
    const QByteArray before = test::readFile(stateFile());
    store.update([](ModulesState& state) { state.autoUpdate = false; });
    ModulesState expected = twoModules();
    expected.autoUpdate = false;
    EXPECT_EQ(store.load(), expected);
    QByteArray after = test::readFile(stateFile());
    after.replace("\"autoUpdate\": false", "\"autoUpdate\": true");
    EXPECT_EQ(after, before);
}

TEST_F(ModuleStateStoreTest, ConcurrentUpdatesLoseNoChange) {
    store.save(twoModules());
    constexpr int kThreads = 4;
    constexpr int kUpdates = 24;
    std::vector<QThread*> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.push_back(QThread::create([this, t] {
            for (int i = 0; i < kUpdates; ++i) {
                if (i % 2 == 0) {
                    store.update([&](ModulesState& state) {
                        state.installed.at("clock").clearedHotkeys.insert(
                            QStringLiteral("t%1-%2").arg(t).arg(i));
                    });
                } else {
                    store.withLock([&](const ModuleStateStore::Locked& locked) {
                        ModulesState state = locked.read();
                        state.installed.emplace(QStringLiteral("m%1-%2").arg(t).arg(i),
                                                module("x"));
                        locked.writeLocked(state);
                    });
                }
                (void)store.load();
            }
        }));
        threads.back()->start();
    }
    for (QThread* thread : threads) {
        thread->wait();
        delete thread;
    }
    const ModulesState state = store.load();
    EXPECT_EQ(state.installed.at("clock").clearedHotkeys.size(), size_t(kThreads * kUpdates / 2));
    EXPECT_EQ(state.installed.size(), size_t(2 + kThreads * kUpdates / 2));
    // The lock file stays for the next process; no temporary file is left.
    EXPECT_EQ(rootEntries(), QStringList({".modules-state.lock", "modules-state.json"}));
}

TEST_F(ModuleStateStoreTest, WithLockReturnsTheBodysResultAndReleasesTheLock) {
    store.save(twoModules());
    const size_t count = store.withLock(
        [](const ModuleStateStore::Locked& locked) { return locked.read().installed.size(); });
    EXPECT_EQ(count, 2u);
    EXPECT_THROW(store.update([](ModulesState& state) {
        state.installed.clear();
        throw std::runtime_error("changed my mind");
    }),
                 std::runtime_error);
    EXPECT_EQ(store.load(), twoModules()) << "nothing written, lock free again";
}

TEST_F(ModuleStateStoreTest, WriteFailuresLeaveTheOldFileAndReturnNormally) {
    // A file where the root directory should be.
    ModuleStateStore blocked(ModulePaths(dir.file("blocked")));
    test::writeFile(dir.file("blocked"), "a file where the root should be");
    EXPECT_NO_THROW(blocked.save(twoModules()));
    EXPECT_NO_THROW(blocked.update([](ModulesState& s) { s.autoUpdate = false; }));
    EXPECT_EQ(blocked.load(), ModulesState::empty());
    EXPECT_EQ(test::readFile(dir.file("blocked")), "a file where the root should be");
}

TEST_F(ModuleStateStoreTest, NonRegularFilesReadAsEmptyWithoutBlocking) {
    QDir().mkpath(store.paths().root());
    ASSERT_EQ(::mkfifo(QFile::encodeName(stateFile()).constData(), 0600), 0);
    EXPECT_EQ(store.load(), ModulesState::empty());
}

TEST_F(ModuleStateStoreTest, AnUnreadableFileIsKeptAsideBeforeTheFirstWrite) {
    const QByteArray garbage = "{\"installed\": {\"clock\": {\"id\": \"clock\"";
    test::writeFile(stateFile(), garbage);
    EXPECT_EQ(store.load(), ModulesState::empty());

    SystemLogCapture log;
    store.update([](ModulesState& state) { state.autoUpdate = false; });
    const QStringList aside = asideFiles();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(QRegularExpression(R"(^modules-state\.json\.unreadable-\d{8}T\d{6}Z$)")
                    .match(aside[0])
                    .hasMatch())
        << aside[0].toStdString();
    const QString asidePath = store.paths().root() + "/" + aside[0];
    EXPECT_EQ(test::readFile(asidePath), garbage);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_EQ(log.lines()[0], QString::fromUtf8("Ovrel: modules-state.json không đọc được trọn "
                                                "vẹn — đã giữ bản cũ ở ") +
                                  asidePath + QString::fromUtf8(" trước khi ghi đè"));

    ModulesState expected;
    expected.autoUpdate = false;
    EXPECT_EQ(store.load(), expected);
    // The new file reads cleanly: later writes keep nothing more aside.
    store.update([](ModulesState& state) { state.autoUpdate = true; });
    store.save(twoModules());
    EXPECT_EQ(asideFiles().size(), 1);
    EXPECT_EQ(log.lines().size(), 1);
}

TEST_F(ModuleStateStoreTest, OneBrokenEntryIsDroppedAloneAndTheFileIsKeptForRecovery) {
    const QByteArray original = R"({
        "autoUpdate": false,
        "installed": {
            "alarm": {"id": "alarm", "version": "1.0", "appName": "alarm.app", "quickAccessEnabled": true},
            "clock": {"id": "clock", "version": "1.0"}
        }
    })";
    test::writeFile(stateFile(), original);
    SystemLogCapture readLog;
    ModulesState seen = store.load();
    ASSERT_EQ(seen.installed.size(), 1u);
    EXPECT_TRUE(seen.installed.at("alarm").quickAccessEnabled);
    EXPECT_FALSE(seen.autoUpdate);
    ASSERT_EQ(readLog.lines().size(), 1);
    EXPECT_TRUE(readLog.lines()[0].contains(" clock ")) << readLog.lines()[0].toStdString();

    SystemLogCapture log;
    store.update([](ModulesState& state) { state.installed.emplace("timer", module("timer")); });
    ASSERT_EQ(asideFiles().size(), 1);
    EXPECT_EQ(test::readFile(store.paths().root() + "/" + asideFiles()[0]), original);
    const ModulesState now = store.load();
    EXPECT_EQ(now.installed.size(), 2u);
    EXPECT_EQ(now.installed.count("alarm"), 1u);
    EXPECT_EQ(now.installed.count("timer"), 1u);
    EXPECT_FALSE(now.autoUpdate);
}

TEST_F(ModuleStateStoreTest, MistypedFieldsAreKeptAsideButMissingOrUnknownOnesAreNot) {
    test::writeFile(stateFile(), R"({"installed": {}, "autoUpdate": false, "later": 1})");
    store.update([](ModulesState&) {});
    EXPECT_TRUE(asideFiles().isEmpty());

    test::writeFile(stateFile(), R"({"installed": {"a": {"id": "a", "version": "1",
        "appName": "a.app", "residentEnabled": "no"}}})");
    EXPECT_TRUE(store.load().installed.at("a").residentEnabled);
    store.update([](ModulesState&) {});
    EXPECT_EQ(asideFiles().size(), 1);
}

TEST_F(ModuleStateStoreTest, TakenAsideNamesGetANumber) {
    for (int i = 0; i < 3; ++i) {
        test::writeFile(stateFile(), "not json " + QByteArray::number(i));
        store.save(ModulesState::empty());
    }
    // Three in the same second at most share the time; each still has its own name.
    const QStringList aside = asideFiles();
    ASSERT_EQ(aside.size(), 3);
    QSet<QByteArray> contents;
    for (const QString& name : aside)
        contents.insert(test::readFile(store.paths().root() + "/" + name));
    EXPECT_EQ(contents, (QSet<QByteArray>{"not json 0", "not json 1", "not json 2"}));
}

TEST_F(ModuleStateStoreTest, NothingIsOverwrittenWhenTheUnreadableFileCannotBeKept) {
    // A directory in the file's place can be neither linked nor copied.
    QDir().mkpath(stateFile() + "/inside");
    SystemLogCapture log;
    store.save(twoModules());
    EXPECT_TRUE(QFileInfo(stateFile() + "/inside").isDir());
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].startsWith(
        QString::fromUtf8("Ovrel: modules-state.json không đọc được trọn vẹn và không giữ lại "
                          "được bản cũ: ")));
    EXPECT_TRUE(
        log.lines()[0].endsWith(QString::fromUtf8(" — bỏ qua lần ghi để không mất dữ liệu")));
    EXPECT_EQ(store.load(), ModulesState::empty());
}

TEST_F(ModuleStateStoreTest, ReaderSurvivesEveryFileOfTheJsonCorpus) {
    OVREL_REQUIRE_JSON_CORPUS(files);
    for (const QString& name : files) {
        const QByteArray bytes = test::readFile(name);
        test::writeFile(stateFile(), bytes);
        const ModulesState state = store.load();
        EXPECT_EQ(state, ModulesState::decode(bytes).state) << name.toStdString();
        // Only documents that are objects can carry anything but the defaults.
        if (!bytes.trimmed().startsWith('{')) {
            EXPECT_EQ(state, ModulesState::empty()) << name.toStdString();
        }
    }
}
