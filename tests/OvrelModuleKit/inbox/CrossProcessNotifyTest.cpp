#include "OvrelModuleKit/inbox/ModuleHostState.h"
#include "OvrelModuleKit/inbox/ModuleInbox.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/lease/InputPassthrough.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using ovrel::ModulePaths;
namespace UnixTime = ovrel::UnixTime;

namespace {

// The module side, in its own process.
class ModuleProbe {
public:
    explicit ModuleProbe(const QStringList& arguments) {
        m_process.setProgram(ovrel::test::probePath("module_notify_probe"));
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
    }
    ~ModuleProbe() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    bool waitUntilObserving() {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(15000))
                return false;
        }
        return m_process.readLine().trimmed() == "ready";
    }

    // The one line the probe prints after being notified.
    QString result() {
        m_process.waitForFinished(20000);
        return QString::fromUtf8(m_process.readAllStandardOutput()).trimmed();
    }

private:
    QProcess m_process;
};

class CrossProcessNotifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no D-Bus session bus";
        if (!QFile::exists(ovrel::test::probePath("module_notify_probe")))
            GTEST_SKIP() << "probe program not built";
    }

    ovrel::test::TempDir dir;
    ModulePaths paths{dir.path() + "/Ovrel"};
};

} // namespace

TEST_F(CrossProcessNotifyTest, ModuleTakesTheCommandTheHubAnnounces) {
    ModuleProbe probe({"command", paths.root(), "clock"});
    ASSERT_TRUE(probe.waitUntilObserving());

    ovrel::ModuleInbox(paths, "clock")
        .write("open-recent", QString("item 7"), std::chrono::system_clock::now());
    ovrel::ModuleNotify::post(ovrel::ModuleNotify::commandName("clock"));

    EXPECT_EQ(probe.result(), "command open-recent item 7");
    EXPECT_FALSE(QFile::exists(paths.inboxFile("clock"))); // taken means gone
}

TEST_F(CrossProcessNotifyTest, ModuleRereadsHostStateWhenTold) {
    ModuleProbe probe({"host", paths.root()});
    ASSERT_TRUE(probe.waitUntilObserving());

    ovrel::ModuleHostState::write("ja", ovrel::ModuleHostState::defaultAPIBase(), paths);

    EXPECT_EQ(probe.result(), "language ja");
}

TEST_F(CrossProcessNotifyTest, LeaseChangesReachOtherProcesses) {
    ModuleProbe probe({"lease", paths.root()});
    ASSERT_TRUE(probe.waitUntilObserving());

    ovrel::InputPassthrough::acquire("clock", 600, paths, std::chrono::system_clock::now());

    EXPECT_EQ(probe.result(), "lease clock active");
}
