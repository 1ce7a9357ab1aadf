// A command line handed to a running instance over the session bus, with
// its progress reports addressed to the caller alone.
#include "Platform/desktop/CommandLineCall.h"
#include "Platform/desktop/SessionBusApplication.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace ovrel;

namespace {

// The instance on a connection of its own and each caller on another, as
// separate processes would be; when a command ends is up to the test.
struct CommandLineProgressChannelTest : ::testing::Test {
    struct HandedOver {
        QStringList arguments;
        SessionBusApplication::Reply reply;
        CommandLineProgressSink progress;
    };
    struct Caller {
        std::unique_ptr<CommandLineCall> call;
        std::vector<CommandLineProgress> heard;
        std::optional<CommandLineCall::Result> result;
        CommandLineOutcome outcome;
    };

    const QString desktopId =
        QStringLiteral("vn.ovrel.test.progress%1").arg(QCoreApplication::applicationPid());
    std::unique_ptr<SessionBusApplication> instance;
    std::vector<HandedOver> handed;

    void SetUp() override {
        const QDBusConnection bus = connect("instance");
        ASSERT_TRUE(bus.isConnected()) << "the tests run on a private session bus";
        instance = std::make_unique<SessionBusApplication>(desktopId, bus);
        ASSERT_EQ(instance->claim(), SessionBusApplication::Claim::owned);
        instance->setCommandLineHandler([this](const QStringList& arguments, const QString&,
                                               SessionBusApplication::Reply reply,
                                               CommandLineProgressSink progress) {
            handed.push_back({arguments, std::move(reply), std::move(progress)});
        });
    }
    void TearDown() override {
        instance.reset();
        for (const char* name : {"instance", "caller", "other"})
            QDBusConnection::disconnectFromBus(QString::fromLatin1(name));
    }

    static QDBusConnection connect(const char* name) {
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                             QString::fromLatin1(name));
    }

    std::unique_ptr<Caller> start(const char* connection, const QStringList& arguments) {
        auto caller = std::make_unique<Caller>();
        Caller* c = caller.get();
        c->call = std::make_unique<CommandLineCall>(desktopId, connect(connection));
        c->call->start(
            arguments, QStringLiteral("/"),
            [c](const CommandLineProgress& p) { c->heard.push_back(p); },
            [c](CommandLineCall::Result result, const CommandLineOutcome& outcome,
                const QString&) {
                c->result = result;
                c->outcome = outcome;
            });
        return caller;
    }
    bool handedOver(size_t count) {
        return QTest::qWaitFor([&] { return handed.size() >= count; });
    }
};

} // namespace

TEST_F(CommandLineProgressChannelTest, ReportsReachTheirCallerAloneInOrderBeforeTheAnswer) {
    const auto installer = start("caller", {"--install-from-catalog", "clock"});
    ASSERT_TRUE(handedOver(1));
    const auto lister = start("other", {"--list"});
    ASSERT_TRUE(handedOver(2));
    EXPECT_EQ(handed[0].arguments, QStringList({"--install-from-catalog", "clock"}));
    ASSERT_TRUE(handed[0].progress) << "a caller that asks for progress gets a sink";

    handed[0].progress({"clock 1.0.0", 10, 100});
    handed[0].progress({"Unpacking", -1, -1});
    handed[0].progress({"Checking the signature and installing", -1, -1});
    handed[0].reply(CommandLineOutcome::success("installed clock 1.0.0\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return installer->result.has_value(); }));
    EXPECT_EQ(*installer->result, CommandLineCall::Result::answered);
    EXPECT_EQ(installer->outcome, CommandLineOutcome::success("installed clock 1.0.0\n"));
    const std::vector<CommandLineProgress> expected{
        {"clock 1.0.0", 10, 100},
        {"Unpacking", -1, -1},
        {"Checking the signature and installing", -1, -1}};
    EXPECT_EQ(installer->heard, expected);

    handed[1].reply(CommandLineOutcome::failure(1, "nothing\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return lister->result.has_value(); }));
    EXPECT_EQ(lister->outcome, CommandLineOutcome::failure(1, "nothing\n"));
    EXPECT_TRUE(lister->heard.empty()) << "another caller's reports are not its own";
}

TEST_F(CommandLineProgressChannelTest, ACallerThatGoesAwayMidCommandLeavesTheInstanceServing) {
    auto gone = start("caller", {"--install-from-catalog", "clock"});
    ASSERT_TRUE(handedOver(1));
    handed[0].progress({"clock 1.0.0", 1, 100});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gone->heard.empty(); }));
    gone.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("caller"));

    // The command goes on to its end with nobody listening.
    for (qint64 done = 2; done <= 100; ++done)
        handed[0].progress({"clock 1.0.0", done, 100});
    handed[0].progress({"Unpacking", -1, -1});
    handed[0].reply(CommandLineOutcome::success("installed clock 1.0.0\n"));

    const auto next = start("other", {"--list"});
    ASSERT_TRUE(handedOver(2));
    handed[1].reply(CommandLineOutcome::success("clock 1.0.0\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return next->result.has_value(); }));
    EXPECT_EQ(next->outcome.output, "clock 1.0.0\n");
}

TEST_F(CommandLineProgressChannelTest, WithoutAnInstanceNothingIsRun) {
    instance.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("instance"));
    const auto caller = start("caller", {"--list"});
    ASSERT_TRUE(caller->result.has_value()) << "known at once";
    EXPECT_EQ(*caller->result, CommandLineCall::Result::notRunning);
}
