#pragma once

// The real ovrel-lite program started as a hub and as later command lines,
// on a session bus of the test's own (so a hub of another test never answers)
// and with folders of the test's own.

#include "Platform/bundle/BundleLocator.h"
#include "Platform/desktop/RunningInstance.h"
#include "Platform/plist/UserDefaults.h"
#include "Platform/process/Workspace.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace ovrel::test {

struct ProgramRun {
    int status = -1;
    QString output;
    QString errors;
};

class HubProcessFixture : public ::testing::Test {
protected:
    static constexpr int kProcessTimeoutMs = 120000;

    void SetUp() override {
        for (const char* sub : {"home", "config", "data", "state", "cache", "runtime", "elsewhere"})
            QDir().mkpath(dir.file(sub));
        QFile::setPermissions(dir.file("runtime"), QFileDevice::ReadOwner |
                                                       QFileDevice::WriteOwner |
                                                       QFileDevice::ExeOwner);
        startBus();
        // Texts in English, so the tests read like the store pane in English.
        UserDefaults(QStringLiteral("vn.ovrel.lite"), dir.file("config/Ovrel"))
            .set(QStringLiteral("appLanguage"), QStringLiteral("en"));
    }

    void TearDown() override {
        // Modules a hub started live in their own sessions: end them here.
        DesktopWorkspace modules(moduleBundleLocator(modulesDir()));
        for (const char* id : {"vn.ovrel.module.clock", "vn.ovrel.module.pulse"}) {
            for (const auto& app : modules.runningApplications(QString::fromLatin1(id)))
                app->forceTerminate();
        }
        for (const auto& hub : m_hubs)
            stop(*hub);
        stop(m_bus);
        QDBusConnection::disconnectFromBus(QStringLiteral("hub-process-test"));
    }

    // The environment of a program: the test's folders and bus, no display.
    QProcessEnvironment environment(const QString& dataHome = {}) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir.file("home"));
        env.insert("XDG_CONFIG_HOME", dir.file("config"));
        env.insert("XDG_DATA_HOME", dataHome.isEmpty() ? dir.file("data") : dataHome);
        env.insert("XDG_STATE_HOME", dir.file("state"));
        env.insert("XDG_CACHE_HOME", dir.file("cache"));
        env.insert("XDG_RUNTIME_DIR", dir.file("runtime"));
        env.insert("DBUS_SESSION_BUS_ADDRESS", m_busAddress);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        return env;
    }

    static QString program() { return QStringLiteral(OVREL_BINARY_DIR "/src/ovrel-lite"); }
    static QString sampleBundle(const QString& name) {
        return QStringLiteral(OVREL_BINARY_DIR "/modules/") + name + QStringLiteral(".app");
    }
    QString modulesDir() const { return dir.file("data/Ovrel/Modules"); }

    // Starts a hub; returns once it answers on the bus.
    QProcess& startHub() {
        QProcess& hub = launchHub();
        EXPECT_TRUE(QTest::qWaitFor([&] { return hubIsRunning(); }, kProcessTimeoutMs))
            << qPrintable(QString::fromUtf8(hub.readAllStandardError()));
        return hub;
    }
    QProcess& launchHub() {
        auto hub = std::make_unique<QProcess>();
        hub->setProcessEnvironment(environment());
        hub->start(program(), {});
        EXPECT_TRUE(hub->waitForStarted());
        m_hubs.push_back(std::move(hub));
        return *m_hubs.back();
    }

    bool hubIsRunning() const {
        return RunningInstance(QStringLiteral("vn.ovrel.lite"), bus()).isRunning();
    }

    ProgramRun run(const QStringList& arguments, const QProcessEnvironment& env,
                   const QString& workingDirectory = {}) const {
        QProcess process;
        process.setProcessEnvironment(env);
        if (!workingDirectory.isEmpty())
            process.setWorkingDirectory(workingDirectory);
        process.start(program(), arguments);
        EXPECT_TRUE(process.waitForFinished(kProcessTimeoutMs)) << qPrintable(arguments.join(' '));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    ProgramRun run(const QStringList& arguments) const { return run(arguments, environment()); }

    // What a hub wrote to its standard error so far (its log lines).
    static QString hubLog(QProcess& hub) {
        hub.waitForReadyRead(0);
        return QString::fromUtf8(hub.readAllStandardError());
    }

    QDBusConnection bus() const {
        return QDBusConnection::connectToBus(m_busAddress, QStringLiteral("hub-process-test"));
    }

    TempDir dir;

private:
    void startBus() {
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        ASSERT_TRUE(m_bus.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_bus.canReadLine(); }, kProcessTimeoutMs));
        m_busAddress = QString::fromUtf8(m_bus.readLine()).trimmed();
        ASSERT_FALSE(m_busAddress.isEmpty());
    }

    static void stop(QProcess& process) {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
        }
    }

    QProcess m_bus;
    QString m_busAddress;
    std::vector<std::unique_ptr<QProcess>> m_hubs;
};

} // namespace ovrel::test
