#pragma once

#include "FakeNotificationCenter.h"
#include "OvrelHub/account/AuthService.h"
#include "OvrelHub/account/ModuleSettingsSyncStream.h"
#include "OvrelHub/account/SessionLostNotifier.h"
#include "OvrelHub/account/SessionStore.h"
#include "OvrelHub/account/SyncService.h"
#include "OvrelHub/account/SyncStateStore.h"
#include "OvrelHub/shell/ServiceClient.h"
#include "OvrelModuleKit/paths/ModulePaths.h"
#include "Platform/plist/UserDefaults.h"
#include "TestSupport.h"

#include <QList>
#include <QSignalSpy>
#include <QStringList>
#include <QUrl>

namespace ovrel::test {

// One "machine" of the hub's account services: its own shared root, secret
// store, preferences, sync state and notification centre, talking to the
// service at apiBase. Uploads wait uploadDelay instead of 3 seconds.
struct AccountSandbox {
    explicit AccountSandbox(QString apiBase, QString machineID = QStringLiteral("machine-A"),
                            UserNotificationCenter* center = nullptr,
                            std::chrono::milliseconds uploadDelay = std::chrono::milliseconds(30))
        : base(std::move(apiBase)), paths(dir.file(QStringLiteral("root"))),
          defaults(QStringLiteral("vn.ovrel.lite"), dir.file(QStringLiteral("config"))),
          sessions(SecretStore(paths.secretsDir(), machineID),
                   [this](const QString& name) { posted.append(name); }),
          sessionLost({defaults, sessions, center ? *center : fakeCenter}),
          syncState(paths.syncStateFile()),
          auth({defaults, sessions, client, sessionLost, [this] { return base; },
                [this](const QUrl& url) {
                    opened.append(url);
                    return true;
                }}),
          sync(SyncService::hubStreams(paths), {syncState, defaults, sessions, client,
                                                [this] { return base; }, &auth, uploadDelay}) {}

    // Waits for the next finished sync operation of key; false after 20 s.
    bool waitForSync(const QString& key = QStringLiteral("moduleSettings")) {
        QSignalSpy finished(&sync, &SyncService::operationFinished);
        while (finished.wait(20000)) {
            for (const auto& args : finished) {
                if (args.at(0).toString() == key)
                    return true;
            }
        }
        return false;
    }

    QString base;
    TempDir dir;
    ModulePaths paths;
    UserDefaults defaults;
    QStringList posted;
    SessionStore sessions;
    FakeNotificationCenter fakeCenter;
    ServiceClient client;
    SessionLostNotifier sessionLost;
    SyncStateStore syncState;
    QList<QUrl> opened;
    AuthService auth;
    SyncService sync;
};

} // namespace ovrel::test
