#include "ModuleRunnerFixture.h"
#include "Platform/system/SystemLog.h"

#include <QFileInfo>
#include <thread>
#include <vector>

using namespace ovrel;
using namespace ovrel::test;

namespace {

const QString kClock = QStringLiteral("clock");

void rewrite(const QString& file, const QByteArray& bytes) {
    QFile::remove(file);
    writeFile(file, bytes);
}

// Safe to call from several threads: counts what it was asked, runs nothing.
class CountingWorkspace : public FakeWorkspace {
public:
    RunningApplications runningApplications(const QString&) override { return {}; }
    void openApplication(const QString&, bool, OpenApplicationCompletion completion) override {
        ++opens;
        completion(nullptr, std::nullopt);
    }
    std::atomic<int> opens{0};
};

} // namespace

TEST_F(ModuleRunnerTest, PassedSignatureIsNotCheckedAgainForTheSameBundle) {
    install();
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    runner.send(QStringLiteral("show"), std::nullopt, kClock);
    EXPECT_EQ(verifier.calls.load(), 1);
    EXPECT_EQ(workspace.openRequests.size(), 2);
    EXPECT_EQ(runner.verifiedCount(), 1u);
}

TEST_F(ModuleRunnerTest, ChangedBundleIsCheckedAgain) {
    const QString bundle = install();
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    rewrite(bundle + QStringLiteral("/Contents/MacOS/clock"), "\x7f"
                                                              "ELF another program");
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(verifier.calls.load(), 2);

    // A new sealed resource list, then the same bundle under another name.
    rewrite(bundle + QStringLiteral("/Contents/_CodeSignature/CodeResources"), "<plist></plist>");
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(verifier.calls.load(), 3);
    ASSERT_TRUE(QFile::rename(bundle, paths.bundle(kClock, QStringLiteral("Clock 2.app"))));
    record(kClock, QStringLiteral("Clock 2.app"));
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(verifier.calls.load(), 4);
    EXPECT_EQ(workspace.openRequests.size(), 4);
}

TEST_F(ModuleRunnerTest, FailedSignatureIsCheckedAgainEveryTime) {
    install();
    verifier.failure = SignatureError::cannotRead();
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(verifier.calls.load(), 2);
    EXPECT_EQ(runner.verifiedCount(), 0u);

    verifier.failure.reset();
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(verifier.calls.load(), 3);
    EXPECT_EQ(workspace.openRequests.size(), 2);
}

TEST_F(ModuleRunnerTest, BundleThatChangedDuringTheCheckIsCheckedAgain) {
    const QString bundle = install();
    verifier.whileChecking = [&] {
        verifier.whileChecking = nullptr;
        rewrite(bundle + QStringLiteral("/Contents/MacOS/clock"), "\x7f"
                                                                  "ELF swapped in");
    };
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(runner.verifiedCount(), 0u);
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    runner.send(QStringLiteral("open"), std::nullopt, kClock);
    EXPECT_EQ(verifier.calls.load(), 2);
    EXPECT_EQ(runner.verifiedCount(), 1u);
}

TEST_F(ModuleRunnerTest, VerifySignedNeedsAStampableBundle) {
    const QString bundle = install();
    EXPECT_TRUE(runner.verifySigned(kClock, QStringLiteral("Clock.app")));
    EXPECT_FALSE(runner.verifySigned(kClock, QStringLiteral("Missing.app")));
    QFile::remove(bundle + QStringLiteral("/Contents/MacOS/clock"));
    EXPECT_FALSE(runner.verifySigned(kClock, QStringLiteral("Clock.app")));
    EXPECT_EQ(verifier.calls.load(), 1);
}

TEST_F(ModuleRunnerTest, ConcurrentSendsShareOneWholeCache) {
    const QStringList ids{QStringLiteral("clock"), QStringLiteral("pulse"), QStringLiteral("notes"),
                          QStringLiteral("timer")};
    for (const QString& id : ids)
        install(id, std::nullopt, id + QStringLiteral(".app"));
    CountingWorkspace desktop;
    ModuleRunner shared(paths, store, verifier, desktop, recordingHooks());

    constexpr int kThreads = 4;
    constexpr int kRounds = 25;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round)
                shared.send(QStringLiteral("open"), std::nullopt, ids[(t + round) % ids.size()]);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(desktop.opens, kThreads * kRounds);
    EXPECT_EQ(shared.verifiedCount(), std::size_t(ids.size()));
    // Each module is checked at least once and at most once per thread racing
    // for its first opening.
    EXPECT_GE(verifier.calls.load(), ids.size());
    EXPECT_LE(verifier.calls.load(), kThreads * ids.size());
    const int calls = verifier.calls.load();
    for (const QString& id : ids)
        shared.send(QStringLiteral("open"), std::nullopt, id);
    EXPECT_EQ(verifier.calls.load(), calls);
}
