// The catalog commands of the real program against the real local service,
// run by themselves and through a running hub.
#include "CatalogServiceFixture.h"
#include "HubProcessFixture.h"
#include "account/BrowserDriver.h"

#include "OvrelHub/account/SessionStore.h"
#include "Platform/system/MachineIdentity.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace ovrel;
using namespace ovrel::test;

namespace {

class CatalogCommandsTest : public HubProcessFixture {
protected:
    void SetUp() override {
        HubProcessFixture::SetUp();
        QDir().mkpath(dir.file("catalog"));
        QFile::copy(QStringLiteral(OVREL_BINARY_DIR "/modules/Clock.zip"),
                    dir.file("catalog/clock.zip"));
    }

    void startService(const QStringList& options = {}) {
        service = std::make_unique<CatalogServiceProcess>(dir.file("catalog"), options);
        UserDefaults(QStringLiteral("vn.ovrel.lite"), dir.file("config/Ovrel"))
            .set(QStringLiteral("apiBaseURL"), service->api.toString());
    }

    // Signs a user in at the service as a browser would and keeps the token
    // where the programs' session store finds it.
    void signIn() {
        QUrl start = service->api.resolved(QUrl("api/auth/google/start"));
        start.setQuery("state=test-state");
        const QUrl callback = completeBrowserSignIn(start, QStringLiteral("ann@example.com"));
        const QString code = QUrlQuery(callback).queryItemValue("code");
        const HttpAnswer exchanged = httpRequest(
            "POST", service->api.resolved(QUrl("api/auth/exchange")),
            QJsonDocument(QJsonObject{{"code", code}}).toJson(QJsonDocument::Compact), {},
            "application/json");
        const QString token =
            QJsonDocument::fromJson(exchanged.body).object().value("token").toString();
        ASSERT_FALSE(token.isEmpty()) << exchanged.body.constData();
        sessions().save(token);
    }

    SessionStore sessions() const {
        return SessionStore(
            SecretStore(dir.file("data/Ovrel/secrets"),
                        SecretStore::machineIDOf(MachineIdentity::system())),
            [](const QString&) {});
    }

    std::unique_ptr<CatalogServiceProcess> service;
};

} // namespace

TEST_F(CatalogCommandsTest, ACatalogThatNeedsSignInWorksOnceSignedIn) {
    startService({"--catalog-needs-sign-in"});

    const ProgramRun signedOut = run({"--catalog"});
    EXPECT_EQ(signedOut.status, 1);
    EXPECT_TRUE(signedOut.errors.contains("Sign in to install apps")) << qPrintable(signedOut.errors);

    signIn();
    const ProgramRun listed = run({"--catalog"});
    EXPECT_EQ(listed.status, 0) << qPrintable(listed.errors);
    EXPECT_TRUE(listed.output.startsWith("clock\t1.0.0\tinstall\t")) << qPrintable(listed.output);

    const ProgramRun installed = run({"--install-from-catalog", "clock"});
    EXPECT_EQ(installed.status, 0) << qPrintable(installed.errors);
    EXPECT_TRUE(QFileInfo(modulesDir() + "/clock/Clock.app").isDir());
    // The token went to the service, never to the storage port.
    for (const QString& line : service->requests())
        EXPECT_FALSE(line.startsWith("storage") && !line.endsWith("token: none"))
            << qPrintable(line);
}

TEST_F(CatalogCommandsTest, TheRunningHubRunsThemAndItsMenuFollows) {
    startService();
    startHub();
    // A caller with a module tree of its own: what it prints comes from the hub's.
    const QProcessEnvironment caller = environment(dir.file("elsewhere"));

    const ProgramRun listed = run({"--catalog"}, caller);
    EXPECT_EQ(listed.status, 0) << qPrintable(listed.errors);
    EXPECT_EQ(listed.output, "clock\t1.0.0\tinstall\tClock\n");

    const ProgramRun unknown = run({"--install-from-catalog", "nope"}, caller);
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.errors, "ovrel-lite: the catalog has no module nope\n");

    const ProgramRun installed = run({"--install-from-catalog", "clock"}, caller);
    EXPECT_EQ(installed.status, 0) << qPrintable(installed.errors);
    EXPECT_EQ(installed.output, "installed clock 1.0.0\n");
    EXPECT_TRUE(QFileInfo(modulesDir() + "/clock/Clock.app").isDir());
    EXPECT_FALSE(QFileInfo::exists(dir.file("elsewhere/Ovrel/Modules/clock")));
    EXPECT_TRUE(run({"--print-menu"}).output.contains("Clock")) << "the hub's menu shows it";

    const ProgramRun again = run({"--install-from-catalog", "clock"}, caller);
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.output, "clock is up to date\n");
    EXPECT_EQ(run({"--catalog"}, caller).output, "clock\t1.0.0\tup to date\tClock\n");
}

TEST_F(CatalogCommandsTest, FailuresReadTheSameThroughTheHubAndAreLoggedThere) {
    for (const char* option : {"--catalog-needs-sign-in", "--fail-status"}) {
        SCOPED_TRACE(option);
        QStringList options{option};
        if (options.first() == "--fail-status")
            options.append("503");
        startService(options);
        const ProgramRun alone = run({"--install-from-catalog", "clock"});
        const ProgramRun listedAlone = run({"--catalog"});
        QProcess& hub = startHub(); // the hub reads the service's address at its start

        const ProgramRun handed = run({"--install-from-catalog", "clock"});
        EXPECT_EQ(handed.status, 1);
        EXPECT_EQ(handed.errors, alone.errors);
        EXPECT_EQ(alone.status, 1);
        EXPECT_EQ(handed.errors,
                  options.size() == 1
                      ? "ovrel-lite: Install failed: Sign in to install apps (unauthorized)\n"
                      : "ovrel-lite: Install failed: Couldn't load the app list. "
                        "(serverError(503))\n");
        EXPECT_TRUE(hubLog(hub).contains("Ovrel: cài module clock lỗi"));

        const ProgramRun listed = run({"--catalog"});
        EXPECT_EQ(listed.status, 1);
        EXPECT_EQ(listed.errors, listedAlone.errors);
        EXPECT_TRUE(listed.output.isEmpty());

        hub.terminate();
        ASSERT_TRUE(hub.waitForFinished(kProcessTimeoutMs));
    }
}

TEST_F(CatalogCommandsTest, AHandedOverInstallShowsItsProgressAtTheCaller) {
    startService({"--slow-body", "5"});
    startHub();
    const ProgramRun installed = run({"--install-from-catalog", "clock"});
    EXPECT_EQ(installed.status, 0) << qPrintable(installed.errors);
    EXPECT_EQ(installed.output, "installed clock 1.0.0\n");
    // Standard error is no terminal here: plain lines.
    const QStringList lines = installed.errors.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 4) << qPrintable(installed.errors);
    for (const QString& line : lines.mid(0, lines.size() - 3))
        EXPECT_TRUE(line.startsWith("Downloading clock 1.0.0: ")) << qPrintable(line);
    EXPECT_TRUE(lines[lines.size() - 4].endsWith("(100%)")) << qPrintable(installed.errors);
    EXPECT_EQ(lines.mid(lines.size() - 3),
              QStringList({"Checking the archive", "Unpacking",
                           "Checking the signature and installing"}));
}

TEST_F(CatalogCommandsTest, ACallerThatEndsMidInstallLeavesTheHubToFinishIt) {
    startService({"--slow-body", "20"});
    QProcess& hub = startHub();
    QProcess caller;
    caller.setProcessEnvironment(environment());
    caller.start(program(), {"--install-from-catalog", "clock"});
    QByteArray errors;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            errors += caller.readAllStandardError();
            return errors.contains("Downloading clock 1.0.0: ");
        },
        kProcessTimeoutMs))
        << errors.constData();
    caller.kill();
    ASSERT_TRUE(caller.waitForFinished());

    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(modulesDir() + "/clock/Clock.app").isDir(); },
                                kProcessTimeoutMs));
    // The store answers in order: the listing comes after the install's end.
    EXPECT_TRUE(run({"--list"}).output.contains("clock  1.0.0"));
    EXPECT_TRUE(run({"--print-menu"}).output.contains("Clock"));
    EXPECT_FALSE(hubLog(hub).contains("lỗi")) << "nothing failed";
}
