#pragma once

// The local service started for real on free ports, and a module store that
// installs from it with a test identity's signatures.

#include "FakeWorkspace.h"
#include "InstallFixture.h"
#include "OvrelHub/store/InstallError.h"
#include "OvrelHub/store/ModuleCatalogClient.h"
#include "OvrelHub/store/ModuleDownloader.h"
#include "OvrelHub/store/ModuleStore.h"
#include "ZipWriter.h"

#include "OvrelHub/shell/ServiceRequest.h"
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace ovrel::test {

// One ovrel-devservice process; ended when the object goes.
class CatalogServiceProcess {
public:
    CatalogServiceProcess(const QString& catalogDir, const QStringList& options = {}) {
        m_process.setProgram(QStringLiteral(OVREL_DEVSERVICE_TOOL));
        m_process.setArguments(QStringList{"--catalog", catalogDir} + options);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
            while (m_process.canReadLine())
                m_lines.append(QString::fromUtf8(m_process.readLine()).trimmed());
        });
        m_process.start();
        if (!QTest::qWaitFor([this] { return !m_lines.isEmpty(); }, 10000))
            throw std::runtime_error("the local service did not start");
        const QStringList words = m_lines.first().split(' ');
        api = QUrl(words.value(1) + "/");
        storage = QUrl(words.value(3) + "/");
    }
    ~CatalogServiceProcess() {
        m_process.kill();
        m_process.waitForFinished();
    }

    // The lines printed after the readiness line ("storage GET ... token: none").
    QStringList requests() {
        m_process.waitForReadyRead(50);
        return m_lines.mid(1);
    }

    QUrl api;
    QUrl storage;

private:
    QProcess m_process;
    QStringList m_lines;
};

// A modules root, a store that downloads with a bearer token, and a catalog
// directory the test fills with signed module zips.
struct CatalogInstallBase : ::testing::Test {
    TempDir dir;
    QString catalogDir = dir.file("catalog");
    ModulePaths paths{dir.file("Ovrel")};
    ModuleStateStore state{paths};
    ModuleSignatureVerifier verifier{QStringList{testIdentity().leafHash()}};
    FakeWorkspace workspace;
    FakeResident resident;
    ServiceNetwork network;
    std::optional<QString> token = QStringLiteral("secret-token");
    ModuleDownloader::Options downloadOptions;
    std::unique_ptr<ModuleDownloader> downloader;
    std::unique_ptr<ModuleStore> store;
    std::unique_ptr<CatalogServiceProcess> service;

    void SetUp() override { QDir().mkpath(catalogDir); }

    void startService(const QStringList& options = {}) {
        service = std::make_unique<CatalogServiceProcess>(catalogDir, options);
        downloader = std::make_unique<ModuleDownloader>(
            network, [this] { return token; }, paths.stagingDir(), downloadOptions);
        store = std::make_unique<ModuleStore>(
            ModuleStore::Collaborators{.state = state,
                                       .verifier = verifier,
                                       .workspace = workspace,
                                       .resident = &resident,
                                       .downloader = downloader.get(),
                                       .macOSVersion = [] { return QStringLiteral("14.0"); }});
    }

    ModuleCatalogClient catalog() const {
        return ModuleCatalogClient(
            service->api, [this] { return token; }, const_cast<ServiceNetwork&>(network));
    }

    // Puts a signed zip of the bundle into the catalog as <id>.zip.
    void publish(const TestBundle& bundle) {
        const QString built =
            writeSignedBundle(dir.file("build/" + bundle.version), bundle, testIdentity());
        zipTree(built, catalogDir + "/" + bundle.id + ".zip");
    }

    CatalogEntry fetchEntry(const QString& id) {
        for (const CatalogEntry& entry : await(catalog().fetch("1.0.0")))
            if (entry.id == id)
                return entry;
        throw std::runtime_error("no such catalog entry");
    }

    ModuleManifest installFromCatalog(const QString& id) {
        const CatalogEntry entry = fetchEntry(id);
        return await(store->install(id, *entry.latest, catalog().downloadURL(id, "1.0.0")));
    }

    std::optional<InstallError> installFailure(const QString& id,
                                               std::optional<CatalogRelease> release = {}) {
        try {
            const CatalogRelease r = release ? *release : *fetchEntry(id).latest;
            await(store->install(id, r, catalog().downloadURL(id, "1.0.0")));
        } catch (const InstallError& error) {
            return error;
        }
        return std::nullopt;
    }

    QString installedVersion(const QString& id) {
        // One copy of the state: an iterator into a temporary would dangle.
        const ModulesState modules = state.load();
        const auto entry = modules.installed.find(id);
        return entry == modules.installed.end() ? QString() : entry->second.version;
    }

    // Nothing of an attempt is left behind: no archive, no work directory.
    QStringList stagingLeftovers() const {
        return QDir(paths.stagingDir())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

} // namespace ovrel::test
