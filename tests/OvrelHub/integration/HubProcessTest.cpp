#include "HubProcessFixture.h"
#include "InstallFixture.h"
#include "Platform/codesign/CodeSigner.h"
#include "Platform/codesign/SigningIdentity.h"

#include <QFileInfo>

using namespace ovrel;

namespace {

class HubProcessTest : public test::HubProcessFixture {
protected:
    // A copy of the clock bundle with another manifest, signed like the real one.
    QString clockWithManifest(const QByteArray& manifest) {
        const QString bundle = dir.file("edited/Clock.app");
        QDir().mkpath(dir.file("edited"));
        EXPECT_EQ(QProcess::execute("cp", {"-R", sampleBundle("Clock"), dir.file("edited/")}), 0);
        test::writeFile(bundle + "/Contents/Resources/manifest.json", manifest);
        CodeSigner::sign(bundle,
                         SigningIdentity::load(QStringLiteral(OVREL_SOURCE_DIR "/dev/identity")));
        return bundle;
    }

    // A copy of the clock bundle with thousands of files, signed: removing it
    // outlasts the command that replaced it.
    QString largeClock() {
        const QString bundle = dir.file("large/Clock.app");
        QDir().mkpath(dir.file("large"));
        EXPECT_EQ(QProcess::execute("cp", {"-R", sampleBundle("Clock"), dir.file("large/")}), 0);
        for (int i = 0; i < 3000; ++i)
            test::writeFile(bundle + QStringLiteral("/Contents/Resources/data/%1").arg(i), "x");
        CodeSigner::sign(bundle,
                         SigningIdentity::load(QStringLiteral(OVREL_SOURCE_DIR "/dev/identity")));
        return bundle;
    }
};

} // namespace

TEST_F(HubProcessTest, ASecondStartHandsItsUrlsToTheRunningHubAndEnds) {
    QProcess& hub = startHub();

    const test::ProgramRun signIn = run({"ovrel-lite://auth?code=secret-code&state=s"});
    EXPECT_EQ(signIn.status, 0) << qPrintable(signIn.errors);
    const test::ProgramRun other = run({"ovrel-lite://somewhere/else?x=1"});
    EXPECT_EQ(other.status, 0) << qPrintable(other.errors);

    QString log;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            log += hubLog(hub);
            return log.contains("ovrel-lite://somewhere/else");
        },
        kProcessTimeoutMs));
    EXPECT_FALSE(log.contains("không xử lý: ovrel-lite://auth"))
        << "sign-in callbacks go to the account service\n"
        << qPrintable(log);
    EXPECT_TRUE(log.contains("Ovrel: nhận URL không xử lý: ovrel-lite://somewhere/else"));
    EXPECT_FALSE(log.contains("secret-code")) << "a sign-in code never reaches the log";

    // A plain second start asks the hub to come forward and ends; the first stays.
    const test::ProgramRun again = run({});
    EXPECT_EQ(again.status, 0) << qPrintable(again.errors);
    EXPECT_EQ(hub.state(), QProcess::Running);
    EXPECT_TRUE(hubIsRunning());
}

TEST_F(HubProcessTest, HubsStartedTogetherLeaveOne) {
    QProcess& first = launchHub();
    QProcess& second = launchHub();
    // One of them finds the other and ends at once with success.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return first.state() == QProcess::NotRunning || second.state() == QProcess::NotRunning;
        },
        kProcessTimeoutMs));
    QProcess& ended = first.state() == QProcess::NotRunning ? first : second;
    QProcess& running = &ended == &first ? second : first;
    EXPECT_EQ(ended.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ended.exitCode(), 0) << qPrintable(QString::fromUtf8(ended.readAllStandardError()));
    EXPECT_EQ(running.state(), QProcess::Running);
    EXPECT_TRUE(QTest::qWaitFor([&] { return hubIsRunning(); }, kProcessTimeoutMs));
}

TEST_F(HubProcessTest, CommandsRunInTheRunningHub) {
    startHub();
    // The command line has folders of its own: whatever happens, happens in the hub's.
    const QProcessEnvironment elsewhere = environment(dir.file("elsewhere"));

    // A relative path is read from the caller's directory.
    const test::ProgramRun installed =
        run({"--install", "Clock.app"}, elsewhere, QStringLiteral(OVREL_BINARY_DIR "/modules"));
    ASSERT_EQ(installed.status, 0) << qPrintable(installed.errors);
    EXPECT_EQ(installed.output, "clock 1.0.0: Installed\n");
    EXPECT_TRUE(QFileInfo(modulesDir() + "/clock/Clock.app/Contents/Info.plist").isFile());
    EXPECT_FALSE(QFileInfo::exists(dir.file("elsewhere/Ovrel")));

    const test::ProgramRun listed = run({"--list"}, elsewhere);
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.output, "ID     VERSION  MODE      RUNNING  HEALTH\n"
                             "clock  1.0.0    onDemand  no       -\n");

    // Opening it through the hub starts it; its published menu then shows.
    const test::ProgramRun sent = run({"--send", "clock", "open"}, elsewhere);
    EXPECT_EQ(sent.status, 0) << qPrintable(sent.errors);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFileInfo::exists(modulesDir() + "/clock/menu.json"); }, kProcessTimeoutMs));
    const test::ProgramRun menu = run({"--print-menu"}, elsewhere);
    EXPECT_EQ(menu.status, 0);
    EXPECT_TRUE(menu.output.contains("[view] grid 4 columns: Clock")) << qPrintable(menu.output);
    EXPECT_TRUE(menu.output.contains("Settings…\tCtrl+,"));
    const qsizetype grid = menu.output.indexOf("[view] grid");
    const qsizetype settings = menu.output.indexOf("Settings…");
    const qsizetype section = menu.output.indexOf("\nClock (disabled)\n", grid);
    EXPECT_TRUE(grid > 0 && section > grid && section < settings)
        << "the running module's section follows the module grid\n"
        << qPrintable(menu.output);
    EXPECT_TRUE(run({"--list"}, elsewhere).output.contains("clock  1.0.0    onDemand  yes"));

    const test::ProgramRun removed = run({"--uninstall", "clock"}, elsewhere);
    EXPECT_EQ(removed.status, 0) << qPrintable(removed.errors);
    EXPECT_FALSE(QFileInfo::exists(modulesDir() + "/clock"));
    EXPECT_EQ(run({"--list"}, elsewhere).output, "No apps installed\n");
}

TEST_F(HubProcessTest, FailuresExplainThemselvesWithTheStoreTextsAndTheParticulars) {
    startHub();

    test::TestBundle unsignedBundle;
    const QString unsignedPath =
        test::writeModuleBundle(dir.file("unsigned"), unsignedBundle.spec());
    const test::ProgramRun notSigned = run({"--install", unsignedPath});
    EXPECT_EQ(notSigned.status, 1);
    EXPECT_EQ(notSigned.errors,
              unsignedPath + ": Install failed: Couldn't load the app list.\n"
                             "  signature: -67062 errSecCSUnsigned (code object is not signed at "
                             "all)\n");

    QByteArray manifest =
        test::readFile(sampleBundle("Clock") + "/Contents/Resources/manifest.json");
    manifest.replace("\"Clock\"", "\"" + QByteArray(101, 'C') + "\"");
    const QString tooLong = clockWithManifest(manifest);
    const test::ProgramRun badManifest = run({"--install", tooLong});
    EXPECT_EQ(badManifest.status, 1);
    EXPECT_TRUE(badManifest.errors.contains("Install failed: Couldn't load the app list.\n"
                                            "  manifest: a text is too long: \"name\""))
        << qPrintable(badManifest.errors);
    EXPECT_FALSE(badManifest.errors.contains("labelTooLong"));
    EXPECT_FALSE(badManifest.errors.contains("badManifest"));

    const test::ProgramRun noManifest = run({"--install", dir.path()});
    EXPECT_EQ(noManifest.status, 1);
    EXPECT_EQ(noManifest.errors,
              dir.path() + QString::fromUtf8(": Không đọc được manifest trong bundle đó.\n"));

    const test::ProgramRun badId = run({"--uninstall", "Not_An_Id"});
    EXPECT_EQ(badId.status, 1);
    EXPECT_EQ(badId.errors, "Not_An_Id: Couldn't load the app list.\n"
                            "  not a valid module id (1-32 characters a-z, 0-9 or -)\n");
    const test::ProgramRun unknown = run({"--uninstall", "nothing-here"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.errors, "nothing-here: Not installed\n");
    EXPECT_EQ(run({"--send", "nothing-here", "open"}).errors, "nothing-here: Not installed\n");

    const test::ProgramRun usage = run({"--send", "clock"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(usage.errors.startsWith("ovrel-lite: usage: ovrel-lite --send ID COMMAND "
                                        "[ARGUMENT]\n"));
    EXPECT_EQ(run({"--list", "--install", "x"}).status, 2);
    EXPECT_EQ(run({"--nonsense"}).status, 2);
}

TEST_F(HubProcessTest, WithoutAHubCommandsRunHereAndNeedNoDisplay) {
    QProcessEnvironment env = environment();
    env.remove("QT_QPA_PLATFORM"); // a GUI application object would need a display
    ASSERT_FALSE(hubIsRunning());

    const test::ProgramRun installed = run({"--install", sampleBundle("Clock")}, env);
    ASSERT_EQ(installed.status, 0) << qPrintable(installed.errors);
    EXPECT_EQ(installed.output, "clock 1.0.0: Installed\n");
    EXPECT_TRUE(QFileInfo(modulesDir() + "/clock/Clock.app").isDir());

    // Installed again: the replaced bundle is removed after the command has
    // ended, and nothing of it stays in the staging area, not even its lock.
    const QString large = largeClock();
    ASSERT_EQ(run({"--install", large}, env).status, 0);
    const test::ProgramRun again = run({"--install", large}, env);
    ASSERT_EQ(again.status, 0) << qPrintable(again.errors);
    const QDir staging(dir.file("data/Ovrel/.staging"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return staging.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty(); },
        10000))
        << qPrintable(staging.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' '));

    const test::ProgramRun listed = run({"--list"}, env);
    EXPECT_EQ(listed.status, 0) << qPrintable(listed.errors);
    EXPECT_TRUE(listed.output.contains("clock  1.0.0    onDemand  no"));

    const test::ProgramRun menu = run({"--print-menu"}, env);
    EXPECT_EQ(menu.status, 0) << qPrintable(menu.errors);
    EXPECT_TRUE(menu.output.contains("[view] grid 4 columns: Clock")) << qPrintable(menu.output);

    const test::ProgramRun removed = run({"--uninstall", "clock", "--keep-settings"}, env);
    EXPECT_EQ(removed.status, 0) << qPrintable(removed.errors);
    EXPECT_FALSE(QFileInfo::exists(modulesDir() + "/clock"));
    EXPECT_FALSE(hubIsRunning()) << "no command starts a hub";
}

TEST_F(HubProcessTest, RegisterDesktopMakesTheHubTheHandlerOfItsLinks) {
    test::writeFile(dir.file("config/mimeapps.list"),
                    "[Default Applications]\ntext/html=browser.desktop\n");
    const test::ProgramRun registered = run({"--register-desktop"});
    ASSERT_EQ(registered.status, 0) << qPrintable(registered.errors);
    const QString entry = dir.file("data/applications/vn.ovrel.lite.desktop");
    EXPECT_EQ(registered.output, entry + "\n");
    const QString text = QString::fromUtf8(test::readFile(entry));
    EXPECT_TRUE(text.contains("MimeType=x-scheme-handler/ovrel-lite;"));
    EXPECT_TRUE(text.contains("Exec=\"" + QFileInfo(program()).canonicalFilePath() + "\" %u"))
        << qPrintable(text);
    EXPECT_EQ(test::readFile(dir.file("config/mimeapps.list")),
              "[Default Applications]\ntext/html=browser.desktop\n"
              "x-scheme-handler/ovrel-lite=vn.ovrel.lite.desktop;\n");
}
