#include "CatalogServiceFixture.h"
#include "OvrelConfig/ModulePlan.h"
#include "OvrelHub/store/CatalogError.h"
#include "OvrelHub/store/InstallError.h"
#include "Platform/system/SystemLog.h"

#include <QProcess>
#include <QRandomGenerator>

namespace ovrel {
inline void PrintTo(const InstallError& error, std::ostream* os) {
    *os << error.what();
}
} // namespace ovrel

namespace ovrel::test {
namespace {

struct CatalogInstallTest : CatalogInstallBase {
    static TestBundle release(const QString& version, int executableSize = 0) {
        TestBundle bundle;
        bundle.version = version;
        bundle.executableBytes = "\x7f"
                                 "ELF clock " +
                                 QByteArray(executableSize, 'x') + version.toUtf8();
        return bundle;
    }
    QByteArray installedExecutable() const {
        return readFile(paths.bundle("clock", "Clock.app") + "/Contents/MacOS/clock");
    }
    // The installed version still loads and passes its signature check.
    void expectInstalledWorks(const QString& version) {
        EXPECT_EQ(installedVersion("clock"), version);
        EXPECT_NO_THROW(verifier.verify(paths.bundle("clock", "Clock.app"), "clock"));
        EXPECT_TRUE(installedExecutable().endsWith(version.toUtf8()));
    }
};

TEST_F(CatalogInstallTest, InstallsThenUpdatesWithoutTheTokenReachingStorage) {
    publish(release("1.0.0"));
    startService();
    EXPECT_EQ(installFromCatalog("clock").version(), "1.0.0");
    expectInstalledWorks("1.0.0");

    publish(release("1.1.0"));
    const CatalogEntry entry = fetchEntry("clock");
    EXPECT_EQ(ModulePlan::decide(entry, installedVersion("clock"), "1.0.0", "14.0"),
              ModuleAction::update("1.0.0", "1.1.0"));
    installFromCatalog("clock");
    expectInstalledWorks("1.1.0");
    store->waitUntilIdle(); // the replaced bundle is deleted after the install returned
    EXPECT_EQ(stagingLeftovers(), QStringList());
    EXPECT_EQ(service->requests(), QStringList({"storage GET /modules/clock.zip token: none",
                                                "storage GET /modules/clock.zip token: none"}));
    // The replaced version's agent was stopped before the update.
    EXPECT_TRUE(resident.recorded().contains("unregister clock"));
}

TEST_F(CatalogInstallTest, ARedirectToTheSameOriginKeepsTheToken) {
    publish(release("1.0.0"));
    startService({"--same-origin-downloads"});
    installFromCatalog("clock");
    EXPECT_EQ(service->requests(), QStringList{"api GET /files/modules/clock.zip token: present"});
}

TEST_F(CatalogInstallTest, ADigestMismatchKeepsTheInstalledVersion) {
    publish(release("1.0.0"));
    startService();
    CatalogRelease upper = *fetchEntry("clock").latest;
    upper.sha256 = upper.sha256.toUpper(); // the catalog's letter case does not matter
    await(store->install("clock", upper, catalog().downloadURL("clock", "1.0.0")));

    publish(release("1.1.0"));
    CatalogRelease wrong = *fetchEntry("clock").latest;
    const QString actual = wrong.sha256;
    wrong.sha256 = QString(64, 'A');
    EXPECT_EQ(installFailure("clock", wrong),
              InstallError::checksumMismatch(QString(64, 'a'), actual));
    expectInstalledWorks("1.0.0");
    EXPECT_EQ(stagingLeftovers(), QStringList());
}

TEST_F(CatalogInstallTest, RefusedAndFailingServicesFailTheDownloadAndTheCatalog) {
    publish(release("1.0.0"));
    startService();
    const CatalogRelease good = *fetchEntry("clock").latest;
    installFromCatalog("clock");

    for (const QStringList& fault :
         {QStringList{"--require-token", "other"}, QStringList{"--fail-status", "503"}}) {
        startService(fault);
        if (fault.first() == "--require-token") {
            // A refused download tells the user that signing in helps.
            try {
                await(store->install("clock", good, catalog().downloadURL("clock", "1.0.0")));
                ADD_FAILURE() << "the install went through";
            } catch (const CatalogError& error) {
                EXPECT_EQ(error, CatalogError::unauthorized());
            }
        } else {
            EXPECT_EQ(installFailure("clock", good), InstallError::downloadFailed());
        }
        try {
            await(catalog().fetch("1.0.0"));
            ADD_FAILURE() << "the catalog loaded";
        } catch (const CatalogError& error) {
            EXPECT_EQ(error, fault.first() == "--require-token" ? CatalogError::unauthorized()
                                                                : CatalogError::serverError(503));
        }
        expectInstalledWorks("1.0.0");
        EXPECT_EQ(stagingLeftovers(), QStringList());
    }
}

TEST_F(CatalogInstallTest, ACutConnectionLeavesNoFileBehind) {
    publish(release("1.0.0", 256 * 1024));
    startService({"--kill-mid-body"});
    EXPECT_EQ(installFailure("clock"), InstallError::downloadFailed());
    EXPECT_EQ(stagingLeftovers(), QStringList());
    EXPECT_TRUE(state.load().installed.empty());
}

TEST_F(CatalogInstallTest, TheTimeoutCountsSilenceNotTheWholeDownload) {
    publish(release("1.0.0", 96 * 1024)); // about 24 pieces of 4 KiB
    downloadOptions.inactivityTimeout = std::chrono::milliseconds(1000);
    startService({"--slow-body", "100"}); // longer in total than the timeout
    installFromCatalog("clock");
    expectInstalledWorks("1.0.0");

    downloadOptions.inactivityTimeout = std::chrono::milliseconds(200);
    publish(release("1.1.0", 96 * 1024));
    startService({"--slow-body", "2000"});
    EXPECT_EQ(installFailure("clock"), InstallError::downloadFailed());
    expectInstalledWorks("1.0.0");
    EXPECT_EQ(stagingLeftovers(), QStringList());
}

TEST_F(CatalogInstallTest, TheCatalogMustBeAnArrayAndTheBaseQueryIsReplaced) {
    startService();
    writeFile(catalogDir + "/catalog.json", R"({"id":"clock"})");
    EXPECT_THROW(await(catalog().fetch("1.0.0")), CatalogError);
    QUrl base = service->api;
    base.setQuery("host=9.9.9&x=1");
    EXPECT_EQ(ModuleCatalogClient(base, {}, network).downloadURL("clock", "1.2.3").query(),
              "host=1.2.3");
    writeFile(catalogDir + "/catalog.json", "[]");
    EXPECT_TRUE(await(ModuleCatalogClient(base, {}, network).fetch("1.0.0")).isEmpty());
}

TEST_F(CatalogInstallTest, AHostileArchiveFromTheServiceChangesNothing) {
    publish(release("1.0.0"));
    startService();
    installFromCatalog("clock");
    writeFile(paths.root() + "/sentinel", "root");
    writeFile(paths.stagingDir() + "/../Modules/sentinel", "modules");

    const QList<QList<ZipEntry>> hostile = {
        {ZipEntry::file("Clock.app/../../../sentinel", "pwned")},
        {ZipEntry::link("Clock.app/x", "../../../Modules"),
         ZipEntry::file("Clock.app/x/sentinel", "pwned")},
        {ZipEntry::link("Clock.app/Contents", "../../.."),
         ZipEntry::file("Clock.app/Contents/sentinel", "pwned")},
        {ZipEntry::file("Clock.app/big", QByteArray(1 << 20, 'a'))},
    };
    for (QList<ZipEntry> entries : hostile) {
        // A manifest makes the archive a catalog entry with its own digest.
        entries.prepend(ZipEntry::file("Clock.app/Contents/Resources/manifest.json",
                                       manifestBytes("clock", "2.0.0")));
        writeZip(catalogDir + "/clock.zip", entries);
        const auto error = installFailure("clock");
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->kind() == InstallError::Kind::unzip ||
                    error->kind() == InstallError::Kind::signatureRejected)
            << error->what();
        EXPECT_EQ(readFile(paths.root() + "/sentinel"), "root");
        EXPECT_EQ(readFile(paths.stagingDir() + "/../Modules/sentinel"), "modules");
        expectInstalledWorks("1.0.0");
        EXPECT_EQ(stagingLeftovers(), QStringList());
    }
}

TEST_F(CatalogInstallTest, StartUpOfAnotherProcessDuringTheDownloadLeavesItAlone) {
    // Incompressible, so the slow service takes many pieces to send it.
    TestBundle bundle = CatalogInstallTest::release("1.0.0");
    QByteArray noise(48 * 1024, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()),
                                  noise.size() / int(sizeof(quint32)));
    bundle.executableBytes += noise;
    publish(bundle);
    startService({"--slow-body", "100"});
    InstallProgress progress;
    QFuture<ModuleManifest> installing = store->install(
        "clock", *fetchEntry("clock").latest, catalog().downloadURL("clock", "1.0.0"), &progress);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress.bytesReceived() > 0; }, 60000));

    QProcess recovery;
    recovery.start(probePath("store-probe"),
                   {paths.root(), testIdentity().leafHash(), QStringLiteral("recover")});
    ASSERT_TRUE(recovery.waitForFinished(60000));
    EXPECT_EQ(recovery.exitCode(), 0);

    EXPECT_NO_THROW(await(installing));
    EXPECT_EQ(installedVersion("clock"), "1.0.0");
    EXPECT_TRUE(stagingLeftovers().isEmpty()) << qPrintable(stagingLeftovers().join(' '));
}

} // namespace
} // namespace ovrel::test
