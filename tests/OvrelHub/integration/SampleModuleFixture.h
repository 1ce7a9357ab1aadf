#pragma once

// The built sample modules installed by the real store into a throw-away
// module root and started by the real runner as real processes. Every program
// the workspace starts gets data and settings folders of the test's own, so
// the module finds the same root as the hub side of the test.

#include "InstallFixture.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/runner/ModuleRunner.h"
#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "OvrelHub/store/ModuleStore.h"
#include "OvrelModuleKit/inbox/InboxCommand.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/bundle/BundleLocator.h"
#include "Platform/process/Workspace.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <utility>
#include <vector>

namespace ovrel::test {

// Sets environment variables until it goes out of scope, then puts the
// previous values back.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const std::vector<std::pair<const char*, QString>>& values) {
        for (const auto& [name, value] : values) {
            m_previous.push_back({name, qEnvironmentVariableIsSet(name)
                                            ? std::optional<QByteArray>(qgetenv(name))
                                            : std::nullopt});
            qputenv(name, value.toLocal8Bit());
        }
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : m_previous) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_previous;
};

// The desktop workspace over the test's Modules directory; programs inherit
// the environment at the moment they are started, so only the start itself
// sees the test's folders and the test process keeps its own.
class IsolatedDesktopWorkspace : public DesktopWorkspace {
public:
    IsolatedDesktopWorkspace(const QString& modulesDir, QString dataHome, QString configHome)
        : DesktopWorkspace(moduleBundleLocator(modulesDir)), m_dataHome(std::move(dataHome)),
          m_configHome(std::move(configHome)) {}

    void openApplication(const QString& bundlePath, bool activate,
                         OpenApplicationCompletion completion) override {
        const ScopedEnvironment environment({{"XDG_DATA_HOME", m_dataHome},
                                             {"XDG_CONFIG_HOME", m_configHome},
                                             {"QT_QPA_PLATFORM", QStringLiteral("offscreen")}});
        DesktopWorkspace::openApplication(bundlePath, activate, std::move(completion));
    }

private:
    QString m_dataHome;
    QString m_configHome;
};

class SampleModuleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no D-Bus session bus";
    }

    // Whatever happened, no module process outlives the test.
    void TearDown() override { stopModules(); }

    static QString sampleBundle(const QString& name) {
        return QStringLiteral(OVREL_BINARY_DIR "/modules/") + name + QStringLiteral(".app");
    }

    ModuleManifest install(const QString& id, const QString& name) {
        return await(store.installLocal(id, sampleBundle(name)));
    }

    RunningApplications running(const QString& id) {
        return workspace.runningApplications(ModuleRunner::bundleIdentifier(id));
    }
    bool waitUntilRunning(const QString& id) {
        return QTest::qWaitFor([&] { return !running(id).isEmpty(); }, 30000);
    }
    bool waitUntilStopped(const QString& id) {
        return QTest::qWaitFor([&] { return running(id).isEmpty(); }, 30000);
    }

    // Asks every instance of both samples to quit, then ends those that do not.
    void stopModules() {
        RunningApplications all = running(QStringLiteral("clock"));
        all += running(QStringLiteral("pulse"));
        for (const auto& application : all)
            application->terminate();
        const auto allGone = [&] {
            for (const auto& application : all)
                if (!application->isTerminated())
                    return false;
            return true;
        };
        if (QTest::qWaitFor(allGone, 15000))
            return;
        for (const auto& application : all)
            application->forceTerminate();
        EXPECT_TRUE(QTest::qWaitFor(allGone, 15000)) << "a module process did not end";
    }

    std::optional<InboxCommand> inbox(const QString& id) const {
        QFile file(paths.inboxFile(id));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return InboxCommand::decode(file.readAll());
    }
    bool waitUntilInboxTaken(const QString& id) const {
        return QTest::qWaitFor([&] { return !QFile::exists(paths.inboxFile(id)); }, 30000);
    }

    bool isInstalled(const QString& id) { return state.load().installed.count(id) == 1; }

    // The runner's real collaborators, except that alerts and notifications
    // are recorded on the way (a notification with the inbox it announces).
    ModuleRunner::Hooks recordingHooks() {
        return {{},
                [this](const BlockedLaunchAlert::Texts&) { ++alerts; },
                [this](const QString& name) {
                    posted.push_back({name, inbox(name.section(QLatin1Char('.'), 3, 3))});
                    ModuleNotify::post(name);
                }};
    }

    struct Posted {
        QString name;
        std::optional<InboxCommand> inbox;
    };

    TempDir dir;
    ModulePaths paths{dir.file(QStringLiteral("data/Ovrel"))};
    IsolatedDesktopWorkspace workspace{paths.modulesDir(), dir.file(QStringLiteral("data")),
                                       dir.file(QStringLiteral("config"))};
    ModuleStateStore state{paths};
    const ModuleSignatureVerifier verifier;
    ModuleStore store{ModuleStore::Collaborators{state, verifier, workspace}};
    int alerts = 0;
    std::vector<Posted> posted;
    ModuleRunner runner{paths, state, verifier, workspace, recordingHooks()};
};

} // namespace ovrel::test
