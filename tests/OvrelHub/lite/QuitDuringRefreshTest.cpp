// Quitting the hub while its first module refresh is still running: the store
// query and the icon loading are in flight, and the process must end cleanly
// rather than have their results delivered into a torn-down application.

#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/store/FileTree.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

constexpr int kModules = 30;
constexpr int kQuits = 200;

// The built sample modules installed 30 times under ids of their own, so that
// a refresh reads real manifests and icons when the hub quits.
void installModules(const ModulePaths& paths) {
    ModulesState state;
    for (int i = 0; i < kModules; ++i) {
        const QString sample = i % 2 ? QStringLiteral("pulse") : QStringLiteral("clock");
        const QString appName = i % 2 ? QStringLiteral("Pulse.app") : QStringLiteral("Clock.app");
        const QString id = sample + QStringLiteral("-%1").arg(i, 2, 10, QLatin1Char('0'));
        const QString bundle = paths.bundle(id, appName);
        QDir().mkpath(paths.moduleDir(id));
        FileTree::copy(QStringLiteral(OVREL_BINARY_DIR "/modules/") + appName, bundle);
        const QString manifest = ModulePaths::manifestFile(bundle);
        QByteArray bytes = test::readFile(manifest);
        bytes.replace("\"id\": \"" + sample.toUtf8() + "\"", "\"id\": \"" + id.toUtf8() + "\"");
        test::writeFile(manifest, bytes);
        InstalledModule module;
        module.id = id;
        module.version = QStringLiteral("1.0.0");
        module.appName = appName;
        // The copies keep the sample's bus name: started in the background they
        // would outlive the test and stand in for the real sample in others.
        module.residentEnabled = false;
        state.installed.emplace(id, module);
    }
    ModuleStateStore(paths).save(state);
}

} // namespace

TEST(QuitDuringRefresh, QuittingDuringTheFirstRefreshNeverCrashes) {
    test::TempDir dir;
    installModules(ModulePaths(dir.file("data/Ovrel")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"})
        environment.insert(name, dir.file(QString::fromLatin1(name).toLower()));
    environment.insert("XDG_DATA_HOME", dir.file("data"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");

    // --exit-when-ready quits right after the launch started the refresh.
    int crashed = 0;
    int failed = 0;
    for (int i = 0; i < kQuits; ++i) {
        QProcess hub;
        hub.setProcessEnvironment(environment);
        hub.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        hub.setStandardOutputFile(QProcess::nullDevice());
        hub.start(QStringLiteral(OVREL_BINARY_DIR "/src/ovrel-lite"), {"--exit-when-ready"});
        // waitForFinished also answers false for a process that ended before
        // it looked; only one still running has failed to quit.
        hub.waitForFinished(60000);
        ASSERT_EQ(hub.state(), QProcess::NotRunning) << "the hub did not quit";
        if (hub.error() == QProcess::FailedToStart)
            ++failed;
        else if (hub.exitStatus() == QProcess::CrashExit)
            ++crashed;
        else if (hub.exitCode() != 0)
            ++failed;
    }
    EXPECT_EQ(crashed, 0) << "of " << kQuits << " quits during the first refresh";
    EXPECT_EQ(failed, 0);
}
