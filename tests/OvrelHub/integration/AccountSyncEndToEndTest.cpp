// The account services of two "machines" against the real local service.
#include "DevServiceFixture.h"
#include "account/BrowserDriver.h"
#include "FakeNotificationServer.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelConfig/Loc.h"
#include "OvrelHub/account/ClearDataDeletion.h"
#include "OvrelHub/settings/ModulePane.h"
#include "OvrelHub/settings/ModuleSettingsForm.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/Trace.h"
#include "OvrelLite/LiteAppDelegate.h"
#include "OvrelModuleKit/inbox/ModuleNotify.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "Platform/desktop/UserNotificationCenter.h"
#include "Platform/notify/DarwinNotify.h"
#include "Platform/system/SystemLog.h"
#include "settings/SettingsFixture.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {

const QString kStream = QStringLiteral("moduleSettings");

void writeSettings(const AccountSandbox& machine, const QString& id, const SettingsMap& values) {
    ModuleSettingsStore(machine.paths).save(values, id);
}

std::optional<SettingsMap> settingsOf(const AccountSandbox& machine, const QString& id) {
    return ModuleSettingsStore::readFile(machine.paths.settingsFile(id));
}

QJsonObject serverStream(const DevServiceProcess& service, const QString& token) {
    const HttpAnswer answer =
        httpRequest("GET", QUrl(service.apiBase() + QStringLiteral("/api/sync/moduleSettings")), {},
                    "Bearer " + token.toUtf8());
    return QJsonDocument::fromJson(answer.body).object();
}

mode_t permissions(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

class AccountSyncEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.isReady()); }
    DevServiceProcess service;
};

} // namespace

TEST_F(AccountSyncEndToEnd, BrowserSignInKeepsTheTokenOnlyInTheSecretStoreAndNeverInLogs) {
    SystemLogCapture log;
    Trace::force(QStringLiteral("test start"));
    AccountSandbox machine(service.apiBase());
    ASSERT_TRUE(signIn(machine, QStringLiteral("ann@example.com")));

    EXPECT_EQ(machine.auth.currentUser()->email, QStringLiteral("ann@example.com"));
    EXPECT_FALSE(machine.auth.isBusy());
    EXPECT_EQ(machine.defaults.boolValue(QStringLiteral("isLoggedIn")), true);
    EXPECT_TRUE(machine.posted.contains(ModuleNotify::hostName()));
    const std::optional<QString> token = machine.sessions.token();
    ASSERT_TRUE(token);
    const QString secretFile = machine.sessions.secrets().filePath(QStringLiteral("session"));
    EXPECT_EQ(permissions(secretFile), 0600u);
    EXPECT_EQ(permissions(QFileInfo(secretFile).path()), 0700u);

    // The profile is refetched with the stored token.
    QSignalSpy userSet(&machine.auth, &AuthService::currentUserSet);
    machine.auth.me();
    ASSERT_TRUE(userSet.wait(20000));
    EXPECT_EQ(machine.auth.currentUser()->email, QStringLiteral("ann@example.com"));

    // Nowhere on disk in the clear, nor in any log line or the trace file.
    QDirIterator files(machine.dir.path(), QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        EXPECT_FALSE(readFile(files.next()).contains(token->toUtf8()))
            << files.filePath().toStdString();
    EXPECT_FALSE(readFile(Trace::filePath()).contains(token->toUtf8()));
    for (const QString& line : log.lines())
        EXPECT_FALSE(line.contains(*token)) << line.toStdString();
}

TEST_F(AccountSyncEndToEnd, ACallbackIsTakenOnceAndRefusedWithoutItsCodeInTheLog) {
    AccountSandbox machine(service.apiBase());
    machine.auth.startLogin(QStringLiteral("discord"));
    ASSERT_EQ(machine.opened.size(), 1);
    EXPECT_EQ(machine.opened.first().path(), QStringLiteral("/api/auth/discord/start"));
    const QUrl callback =
        completeBrowserSignIn(machine.opened.first(), QStringLiteral("bo@example.com"));
    ASSERT_EQ(callback.scheme(), QStringLiteral("ovrel-lite"));
    QSignalSpy userSet(&machine.auth, &AuthService::currentUserSet);
    machine.auth.handleCallback(callback);
    ASSERT_TRUE(userSet.wait(20000));
    const std::optional<QString> firstToken = machine.sessions.token();

    SystemLogCapture log;
    machine.auth.handleCallback(callback);
    EXPECT_FALSE(machine.auth.isBusy()) << "a replayed callback starts no exchange";
    EXPECT_EQ(machine.sessions.token(), firstToken);
    ASSERT_EQ(log.lines().size(), 1);
    const QString code = QUrlQuery(callback).queryItemValue(QStringLiteral("code"));
    EXPECT_FALSE(log.lines().first().contains(code));
}

TEST_F(AccountSyncEndToEnd, ACancelledBrowserSignInShowsTheServicesReason) {
    AccountSandbox machine(service.apiBase());
    machine.auth.startLogin(QStringLiteral("google"));
    const QUrl callback = completeBrowserSignIn(
        machine.opened.first(), QStringLiteral("x@example.com"), QStringLiteral("deny"));
    machine.auth.handleCallback(callback);
    EXPECT_EQ(machine.auth.errorMessage(),
              Loc::format(LocKey::loginFailedFormat, HubLanguage::current(), {"access_denied"}));
    EXPECT_FALSE(machine.auth.currentUser());
    EXPECT_FALSE(machine.sessions.token());
}

TEST_F(AccountSyncEndToEnd, SettingsSyncUpFromOneMachineAndDownToAnotherLive) {
    AccountSandbox first(service.apiBase(), QStringLiteral("machine-A"));
    AccountSandbox second(service.apiBase(), QStringLiteral("machine-B"));
    ASSERT_TRUE(signIn(first, QStringLiteral("sync@example.com")));
    ASSERT_TRUE(signIn(second, QStringLiteral("sync@example.com")));

    const SettingsMap clock{{"showSeconds", SettingValue::fromBool(true)},
                            {"zoneCount", SettingValue::fromInt(1)},
                            {"format", SettingValue::fromString("24h")}};
    writeSettings(first, "clock", clock);
    first.sync.start();
    ASSERT_TRUE(first.waitForSync());
    EXPECT_EQ(first.syncState.version(kStream), 1);
    EXPECT_FALSE(first.syncState.isDirty(kStream));
    EXPECT_EQ(first.sync.status(kStream), SyncStatus::synced);

    // The second machine has nothing yet: it takes the cloud's settings, and a
    // running clock module hears of it.
    int clockNotified = 0;
    DarwinNotify::Token observation =
        DarwinNotify::observe(ModuleNotify::settingsName("clock"), [&] { ++clockNotified; });
    second.sync.start();
    ASSERT_TRUE(second.waitForSync());
    EXPECT_EQ(settingsOf(second, "clock"), clock) << "the integer 1 stays an integer";
    EXPECT_EQ(second.syncState.version(kStream), 1);
    EXPECT_EQ(second.sync.status(kStream), SyncStatus::synced);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clockNotified == 1; }, 20000));

    // A later edit travels the same way, uploaded once after the last change.
    SettingsMap edited = clock;
    edited.insert("format", SettingValue::fromString("12h"));
    writeSettings(first, "clock", edited);
    first.sync.onModuleSettingsChanged();
    edited.insert("zoneCount", SettingValue::fromInt(3));
    writeSettings(first, "clock", edited);
    first.sync.onModuleSettingsChanged();
    EXPECT_TRUE(first.syncState.isDirty(kStream));
    ASSERT_TRUE(first.waitForSync());
    EXPECT_EQ(first.syncState.version(kStream), 2) << "two quick changes, one upload";
    second.sync.syncNow();
    ASSERT_TRUE(second.waitForSync());
    EXPECT_EQ(settingsOf(second, "clock"), edited);
}

TEST_F(AccountSyncEndToEnd, AnEditInTheSettingsWindowIsUploaded) {
    AccountSandbox machine(service.apiBase());
    ASSERT_TRUE(signIn(machine, QStringLiteral("form@example.com")));
    machine.sync.start();
    ASSERT_TRUE(machine.waitForSync());

    // The hub's windows over this machine's tree, telling its sync of form edits.
    ModuleStateStore state(machine.paths);
    InstalledModule clock;
    clock.id = "clock";
    clock.version = "1.0.0";
    clock.appName = "clock.app";
    state.update([&clock](ModulesState& s) { s.installed["clock"] = clock; });
    QList<InstalledPair> pairs{
        {clock, ModuleManifest::load(toBytes(settingsManifestJson("clock")), "clock")}};
    HubSettings settings(machine.defaults, NotificationCenter::defaultCenter(),
                         [] { return AppLanguage::en; });
    FakeWorkspace workspace;
    LiteAppDelegate delegate(HubController::Collaborators{
        .settings = settings,
        .workspace = workspace,
        .paths = machine.paths,
        .stateStore = &state,
        .installedManifests = [&pairs] { return QtFuture::makeReadyFuture(pairs); },
        .moduleSettingsChanged = [&machine] { machine.sync.onModuleSettingsChanged(); }});
    delegate.applicationWillFinishLaunching();
    ASSERT_TRUE(delegate.windows()->openSettings(QStringLiteral("module/clock")));
    SettingsView* view = delegate.windows()->settingsWindow().view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return qobject_cast<ModulePane*>(view->pane()); }));
    auto* pane = qobject_cast<ModulePane*>(view->pane());
    clickSwitch(qobject_cast<QAbstractButton*>(pane->settingsForm()->control("seconds")));

    ASSERT_TRUE(machine.waitForSync());
    EXPECT_FALSE(machine.syncState.isDirty(kStream));
    const QJsonObject uploaded = serverStream(service, *machine.sessions.token());
    EXPECT_EQ(uploaded.value("version").toInteger(), 1);
    EXPECT_EQ(uploaded.value("data").toObject().value("clock").toObject().value("seconds"),
              QJsonValue(false));
    delete delegate.windows()->settingsWindow().window();
}

TEST_F(AccountSyncEndToEnd, AConflictKeepsBothSidesUntilTheUserChoosesEitherWay) {
    AccountSandbox first(service.apiBase(), QStringLiteral("machine-A"));
    AccountSandbox second(service.apiBase(), QStringLiteral("machine-B"));
    ASSERT_TRUE(signIn(first, QStringLiteral("both@example.com")));
    ASSERT_TRUE(signIn(second, QStringLiteral("both@example.com")));
    writeSettings(first, "clock", {{"format", SettingValue::fromString("24h")}});
    first.sync.start();
    ASSERT_TRUE(first.waitForSync());
    second.sync.start();
    ASSERT_TRUE(second.waitForSync());

    // Both edit; the first uploads, the second's upload meets a newer version.
    writeSettings(first, "clock", {{"format", SettingValue::fromString("cloud")}});
    first.sync.onModuleSettingsChanged();
    ASSERT_TRUE(first.waitForSync());
    const SettingsMap mine{{"format", SettingValue::fromString("device")}};
    writeSettings(second, "clock", mine);
    second.sync.onModuleSettingsChanged();
    ASSERT_TRUE(second.waitForSync());
    EXPECT_EQ(second.sync.status(kStream), SyncStatus::conflict);
    EXPECT_TRUE(second.sync.hasConflict(kStream));
    EXPECT_EQ(settingsOf(second, "clock"), mine) << "the local side is kept";
    EXPECT_TRUE(second.syncState.isDirty(kStream));
    ASSERT_TRUE(second.sync.pendingServer(kStream));

    // Keep cloud.
    second.sync.resolveConflict(kStream, true);
    EXPECT_EQ(settingsOf(second, "clock"),
              (SettingsMap{{"format", SettingValue::fromString("cloud")}}));
    EXPECT_EQ(second.syncState.version(kStream), 2);
    EXPECT_FALSE(second.syncState.isDirty(kStream));
    EXPECT_FALSE(second.sync.hasConflict(kStream));

    // Again, and this time keep this device: the cloud takes the local side.
    writeSettings(first, "clock", {{"format", SettingValue::fromString("cloud2")}});
    first.sync.onModuleSettingsChanged();
    ASSERT_TRUE(first.waitForSync());
    writeSettings(second, "clock", mine);
    second.sync.onModuleSettingsChanged();
    ASSERT_TRUE(second.waitForSync());
    ASSERT_TRUE(second.sync.hasConflict(kStream));
    second.sync.resolveConflict(kStream, false);
    EXPECT_FALSE(second.sync.pendingServer(kStream));
    ASSERT_TRUE(second.waitForSync());
    EXPECT_EQ(second.sync.status(kStream), SyncStatus::synced);
    EXPECT_EQ(second.syncState.version(kStream), 4);
    first.sync.syncNow();
    ASSERT_TRUE(first.waitForSync());
    EXPECT_EQ(settingsOf(first, "clock"), mine);
}

TEST_F(AccountSyncEndToEnd, ARevokedTokenMidSessionSignsOutWithOneNotification) {
    FakeNotificationServer server;
    ASSERT_TRUE(server.isRunning());
    FreedesktopNotificationCenter center(QStringLiteral("Ovrel"));
    QStringList clicked;
    QObject::connect(&center, &UserNotificationCenter::activated,
                     [&](const QString& identifier) { clicked.append(identifier); });
    AccountSandbox machine(service.apiBase(), QStringLiteral("machine-A"), &center);
    ASSERT_TRUE(signIn(machine, QStringLiteral("gone@example.com")));
    machine.sync.start();
    ASSERT_TRUE(machine.waitForSync());

    // Signed out elsewhere: the service no longer knows the token.
    const QString token = *machine.sessions.token();
    ASSERT_EQ(httpRequest("POST", QUrl(service.apiBase() + "/api/auth/logout"), {},
                          "Bearer " + token.toUtf8())
                  .status,
              200);
    QSignalSpy userSet(&machine.auth, &AuthService::currentUserSet);
    QSignalSpy notified(&server, &FakeNotificationServer::notified);
    machine.sync.syncNow();
    ASSERT_TRUE(userSet.wait(20000));
    EXPECT_FALSE(machine.auth.currentUser());
    EXPECT_FALSE(machine.sessions.token());
    EXPECT_EQ(machine.sessionLost.reason(), SessionLostReason::revoked);
    EXPECT_EQ(machine.defaults.string(QStringLiteral("sessionLostReason")),
              QStringLiteral("revoked"));
    EXPECT_EQ(machine.defaults.boolValue(QStringLiteral("isLoggedIn")), false);
    ASSERT_TRUE(notified.count() > 0 || notified.wait(20000));
    ASSERT_EQ(server.shown().size(), 1);
    EXPECT_EQ(server.shown().first().summary,
              Loc::t(LocKey::sessionLostTitle, HubLanguage::current()));
    EXPECT_EQ(server.shown().first().body, SessionLostNotifier::body(SessionLostReason::revoked));
    EXPECT_TRUE(server.shown().first().actions.contains("default"));

    server.click(server.shown().first().id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicked.size() == 1; }, 20000));
    EXPECT_TRUE(clicked.first().startsWith("ovrel.session.revoked."));
}

TEST_F(AccountSyncEndToEnd, AnExpiredTokenIsRefusedLikeARevokedOne) {
    DevServiceProcess shortLived({"--token-lifetime", "0"});
    ASSERT_TRUE(shortLived.isReady());
    AccountSandbox machine(shortLived.apiBase());
    ASSERT_TRUE(signIn(machine, QStringLiteral("brief@example.com")));
    QSignalSpy userSet(&machine.auth, &AuthService::currentUserSet);
    machine.auth.loadSession();
    ASSERT_TRUE(userSet.wait(20000));
    EXPECT_FALSE(machine.auth.currentUser());
    EXPECT_EQ(machine.sessionLost.reason(), SessionLostReason::revoked);
}

TEST_F(AccountSyncEndToEnd, ClearingSyncedDataResetsTheLocalBookkeeping) {
    AccountSandbox machine(service.apiBase());
    ASSERT_TRUE(signIn(machine, QStringLiteral("clear@example.com")));
    writeSettings(machine, "clock", {{"format", SettingValue::fromString("24h")}});
    machine.sync.start();
    ASSERT_TRUE(machine.waitForSync());
    const QString token = *machine.sessions.token();

    ClearDataDeletion deletion({machine.auth, machine.sync, machine.sessions, machine.client,
                                [&] { return machine.base; }});
    QSignalSpy finished(&deletion, &ClearDataDeletion::finished);
    ASSERT_TRUE(deletion.execute({false, false, true, false}));
    EXPECT_TRUE(deletion.isDeleting());
    ASSERT_TRUE(finished.wait(20000));
    ASSERT_EQ(deletion.results().size(), 1);
    EXPECT_EQ(deletion.results().first(),
              (ClearDataDeletion::Result{ClearDataAction::sync, LocKey::clearSyncToggle, true}));
    EXPECT_EQ(serverStream(service, token).value("version").toInteger(), 0);
    EXPECT_EQ(machine.syncState.version(kStream), 0);
    EXPECT_EQ(machine.sync.status(kStream), SyncStatus::idle);
    EXPECT_TRUE(machine.auth.currentUser()) << "still signed in";
}

TEST_F(AccountSyncEndToEnd, DeletingTheAccountSendsOnlyThatAndSignsOut) {
    AccountSandbox machine(service.apiBase());
    ASSERT_TRUE(signIn(machine, QStringLiteral("leave@example.com")));
    machine.sync.start();
    ASSERT_TRUE(machine.waitForSync());
    const QString token = *machine.sessions.token();
    const qint64 versionBefore = machine.syncState.version(kStream);

    ClearDataDeletion deletion({machine.auth, machine.sync, machine.sessions, machine.client,
                                [&] { return machine.base; }});
    QSignalSpy finished(&deletion, &ClearDataDeletion::finished);
    ASSERT_TRUE(deletion.execute({true, true, true, true}));
    ASSERT_TRUE(finished.wait(20000));
    // Account plus submissions (which this edition cannot delete: failed).
    ASSERT_EQ(deletion.results().size(), 2);
    for (const auto& result : deletion.results()) {
        EXPECT_NE(result.action, ClearDataAction::sync);
        EXPECT_EQ(result.succeeded, result.action == ClearDataAction::account);
    }
    EXPECT_FALSE(machine.auth.currentUser());
    EXPECT_FALSE(machine.sessions.token());
    EXPECT_EQ(machine.syncState.version(kStream), versionBefore) << "no sync reset";
    EXPECT_EQ(
        httpRequest("GET", QUrl(service.apiBase() + "/api/auth/me"), {}, "Bearer " + token.toUtf8())
            .status,
        401);
}

TEST_F(AccountSyncEndToEnd, SignedOutDeletionsFailWithoutARequest) {
    AccountSandbox machine(service.apiBase());
    ClearDataDeletion deletion({machine.auth, machine.sync, machine.sessions, machine.client,
                                [&] { return machine.base; }});
    EXPECT_FALSE(deletion.execute({false, false, false, false})) << "an empty plan does nothing";
    QSignalSpy finished(&deletion, &ClearDataDeletion::finished);
    ASSERT_TRUE(deletion.execute({false, false, true, false}));
    ASSERT_TRUE(finished.count() == 1 || finished.wait(20000));
    EXPECT_FALSE(deletion.results().first().succeeded);
}

TEST_F(AccountSyncEndToEnd, SigningOutRevokesTheTokenAndForgetsIt) {
    AccountSandbox machine(service.apiBase());
    ASSERT_TRUE(signIn(machine, QStringLiteral("bye@example.com")));
    const QString token = *machine.sessions.token();
    machine.posted.clear();
    machine.auth.logout();
    EXPECT_FALSE(machine.auth.currentUser());
    EXPECT_FALSE(machine.sessions.token());
    EXPECT_EQ(machine.posted, QStringList{ModuleNotify::hostName()});
    EXPECT_EQ(machine.defaults.boolValue(QStringLiteral("isLoggedIn")), false);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return httpRequest("GET", QUrl(service.apiBase() + "/api/auth/me"), {},
                               "Bearer " + token.toUtf8())
                       .status == 401;
        },
        20000));
}

TEST_F(AccountSyncEndToEnd, TheServiceKeepsAccountsAndSyncedDataAcrossARestart) {
    TempDir dir;
    const QString dataFile = dir.file("service.json");
    QString token;
    {
        DevServiceProcess first({"--data", dataFile});
        ASSERT_TRUE(first.isReady());
        AccountSandbox machine(first.apiBase());
        ASSERT_TRUE(signIn(machine, QStringLiteral("keep@example.com")));
        writeSettings(machine, "clock", {{"format", SettingValue::fromString("24h")}});
        machine.sync.start();
        ASSERT_TRUE(machine.waitForSync());
        token = *machine.sessions.token();
    }
    EXPECT_EQ(permissions(dataFile), 0600u);
    DevServiceProcess second({"--data", dataFile});
    ASSERT_TRUE(second.isReady());
    EXPECT_EQ(serverStream(second, token).value("version").toInteger(), 1);
}
