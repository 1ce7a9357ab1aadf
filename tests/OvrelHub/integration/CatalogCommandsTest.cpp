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
