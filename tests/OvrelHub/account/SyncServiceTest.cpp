// The sync engine against a scripted service, for answers the local service
// never gives.
#include "AccountSandbox.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"

#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerResponse>
#include <QJsonDocument>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {

const QString kStream = QStringLiteral("moduleSettings");

struct ScriptedService {
    using Handler = std::function<QHttpServerResponse(const QHttpServerRequest&)>;
    ScriptedService() {
        server.route("/api/sync/<arg>", [this](const QString& key, const QHttpServerRequest& r) {
            keys.append(key);
            if (r.method() == QHttpServerRequest::Method::Put) {
                ++puts;
                return onPut(r);
            }
            return onGet(r);
        });
        server.route("/api/auth/me", [this] {
            ++profileRequests;
            return QHttpServerResponse(QJsonObject{{"email", "x@example.com"}});
        });
        port = server.listen(QHostAddress::LocalHost);
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port); }

    QHttpServer server;
    quint16 port = 0;
    Handler onGet = [](const QHttpServerRequest&) {
        return QHttpServerResponse(QJsonObject{{"version", 0}});
    };
    Handler onPut;
    int puts = 0;
    int profileRequests = 0;
    QStringList keys;
};

QHttpServerResponse answer(const QJsonObject& body, int status) {
    return QHttpServerResponse(body, static_cast<QHttpServerResponder::StatusCode>(status));
}

struct SignedInMachine {
    explicit SignedInMachine(const QString& base) : machine(base) {
        machine.sessions.save(QStringLiteral("token-1"));
        ModuleSettingsStore(machine.paths).save({{"n", SettingValue::fromInt(1)}}, "clock");
    }
    void edit(qint64 n) {
        ModuleSettingsStore(machine.paths).save({{"n", SettingValue::fromInt(n)}}, "clock");
    }
    AccountSandbox machine;
};

} // namespace

TEST(SyncService, AnEditDuringAnUploadStaysMarkedForTheNextOne) {
    ScriptedService service;
    SignedInMachine hub(service.base());
    service.onPut = [&](const QHttpServerRequest&) {
        hub.edit(2); // the user changes a setting while the upload is on its way
        return answer({{"version", 1}}, 200);
    };
    hub.machine.sync.start();
    ASSERT_TRUE(hub.machine.waitForSync());
    EXPECT_EQ(hub.machine.syncState.version(kStream), 1);
    EXPECT_TRUE(hub.machine.syncState.isDirty(kStream)) << "the server has not seen n = 2";
}

TEST(SyncService, AFailedUploadKeepsTheChangeDirty) {
    ScriptedService service;
    SignedInMachine hub(service.base());
    service.onPut = [](const QHttpServerRequest&) { return answer({{"error", "x"}}, 500); };
    hub.machine.sync.start();
    ASSERT_TRUE(hub.machine.waitForSync());
    EXPECT_EQ(hub.machine.sync.status(kStream), SyncStatus::networkError);

    hub.edit(5);
    hub.machine.sync.onModuleSettingsChanged();
    EXPECT_TRUE(hub.machine.syncState.isDirty(kStream));
    ASSERT_TRUE(hub.machine.waitForSync());
    EXPECT_TRUE(hub.machine.syncState.isDirty(kStream));
    EXPECT_EQ(hub.machine.sync.status(kStream), SyncStatus::networkError);
}

TEST(SyncService, AConflictAnswerWithoutAVersionIsAFailure) {
    ScriptedService service;
    SignedInMachine hub(service.base());
    service.onPut = [](const QHttpServerRequest&) {
        return answer({{"data", QJsonObject{}}}, 409);
    };
    hub.machine.sync.start();
    ASSERT_TRUE(hub.machine.waitForSync());
    EXPECT_EQ(hub.machine.sync.status(kStream), SyncStatus::networkError);
    EXPECT_FALSE(hub.machine.sync.hasConflict(kStream));
}

TEST(SyncService, KeepingThisDeviceAgainstAServerThatMovedOnLetsTheUserChooseAgain) {
    ScriptedService service;
    SignedInMachine hub(service.base());
    service.onGet = [](const QHttpServerRequest&) {
        return answer({{"version", 4}, {"data", QJsonObject{{"clock", QJsonObject{{"n", 9}}}}}},
                      200);
    };
    service.onPut = [](const QHttpServerRequest&) {
        return answer({{"version", 5}, {"data", QJsonObject{{"clock", QJsonObject{{"n", 10}}}}}},
                      409);
    };
    hub.machine.sync.start();
    ASSERT_TRUE(hub.machine.waitForSync());
    ASSERT_TRUE(hub.machine.sync.hasConflict(kStream)) << "different first data on both sides";
    hub.machine.sync.resolveConflict(kStream, false);
    ASSERT_TRUE(hub.machine.waitForSync());
    EXPECT_EQ(hub.machine.sync.status(kStream), SyncStatus::networkError);
    ASSERT_TRUE(hub.machine.sync.pendingServer(kStream));
    EXPECT_EQ(hub.machine.sync.pendingServer(kStream)->version, 5);
    EXPECT_EQ(ModuleSettingsStore::readFile(hub.machine.paths.settingsFile("clock")),
              (SettingsMap{{"n", SettingValue::fromInt(1)}}))
        << "the local side is untouched";
}

TEST(SyncService, AnUnauthorizedAnswerAsksTheSignInServiceToCheckTheSession) {
    ScriptedService service;
    SignedInMachine hub(service.base());
    service.onGet = [](const QHttpServerRequest&) { return answer({{"error", "x"}}, 401); };
    hub.machine.sync.start();
    ASSERT_TRUE(hub.machine.waitForSync());
    EXPECT_TRUE(QTest::qWaitFor([&] { return service.profileRequests == 1; }, 20000));
    EXPECT_EQ(hub.machine.sync.status(kStream), SyncStatus::idle)
        << "a failed pull changes nothing";
}

TEST(SyncService, SeparatePlatformSettingsUseTheirOwnStream) {
    ScriptedService service;
    SignedInMachine hub(service.base());
    service.onPut = [](const QHttpServerRequest&) { return answer({{"version", 1}}, 200); };
    hub.machine.sync.start();
    ASSERT_TRUE(hub.machine.waitForSync());
    hub.machine.sync.setSharedAcrossPlatforms(false);
    ASSERT_TRUE(hub.machine.waitForSync("moduleSettings.macos"));
    EXPECT_EQ(service.keys.last(), "moduleSettings.macos");
    EXPECT_EQ(hub.machine.syncState.version("moduleSettings.macos"), 1);
    EXPECT_FALSE(SyncStateStore(hub.machine.paths.syncStateFile()).sharedAcrossPlatforms());
}

TEST(SyncService, SwitchedOffOrSignedOutNothingIsSent) {
    ScriptedService service;
    SignedInMachine hub(service.base());
    service.onPut = [](const QHttpServerRequest&) { return answer({{"version", 1}}, 200); };
    hub.machine.sync.setSyncEnabled(false);
    hub.machine.sync.start();
    hub.edit(3);
    hub.machine.sync.onModuleSettingsChanged();
    hub.machine.sessions.remove();
    hub.machine.sync.setSyncEnabled(true);
    hub.machine.sync.syncNow();
    EXPECT_FALSE(hub.machine.syncState.isDirty(kStream));

    // Signed in again, the first requests the service sees are this sync's.
    hub.machine.sessions.save(QStringLiteral("token-2"));
    hub.machine.sync.syncNow();
    ASSERT_TRUE(hub.machine.waitForSync());
    EXPECT_EQ(service.keys, (QStringList{kStream, kStream}));
    EXPECT_EQ(service.puts, 1);
}

TEST(SyncService, DeletingAllSyncDataTriesEveryPathAfterAFailure) {
    QStringList asked;
    std::optional<bool> outcome;
    SyncService::deleteAllSyncData(
        [&](const QString& path, std::function<void(bool)> done) {
            asked.append(path);
            done(asked.size() != 2);
        },
        [&](bool ok) { outcome = ok; });
    EXPECT_EQ(asked, SyncService::syncDeletePaths());
    EXPECT_EQ(asked.size(), 8);
    EXPECT_EQ(asked.first(), "/api/sync/settings");
    EXPECT_EQ(outcome, false);
}
