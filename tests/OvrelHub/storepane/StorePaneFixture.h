#pragma once

// The store pane over a real module store and the real local service.

#include "../integration/CatalogServiceFixture.h"
#include "OvrelHub/runner/ModuleCommandRef.h"
#include "OvrelHub/store/InstallProgress.h"
#include "OvrelHub/storepane/RemoteImageCache.h"
#include "OvrelHub/storepane/StoreOperations.h"
#include "OvrelHub/storepane/StorePane.h"
#include "OvrelHub/storepane/StoreServices.h"
#include "OvrelHub/storepane/StoreTile.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

namespace ovrel::test {

struct SentCommands : ModuleCommandSending {
    void send(const QString& command, const std::optional<QString>&,
              const QString& moduleId) override {
        sent.append(moduleId + ":" + command);
    }
    QStringList sent;
};

class StorePaneTest : public CatalogInstallBase {
protected:
    // The menu entries "show" (with a default shortcut) and "hide".
    static QJsonObject withMenu(const QString& hotkey) {
        QJsonObject show{{"command", "show"},
                         {"label", QJsonObject{{"vi", "Hiện"}, {"en", "Show"}}},
                         {"hotkeyDefault", hotkey}};
        return QJsonObject{{"menu", QJsonArray{show}}};
    }

    TestBundle bundle(const QString& version, const QString& id = "clock") {
        TestBundle b;
        b.id = id;
        b.version = version;
        b.appName = id == "clock" ? "Clock.app" : id + ".app";
        b.extraManifestKeys = withMenu("cmd+shift+k");
        b.executableBytes = "\x7f" "ELF " + id.toUtf8() + " " + version.toUtf8();
        return b;
    }

    // Opens the pane once the service runs; waits for its first reload.
    void openPane(AppLanguage language = AppLanguage::en) {
        services = std::make_unique<StoreServices>(StoreServices{
            *store,
            [this] {
                // Nothing listens on port 9: the catalog is unreachable.
                return ModuleCatalogClient(service ? service->api : QUrl("http://127.0.0.1:9/"),
                                           [this] { return token; }, network);
            },
            nullptr, "1.0.0",
            [this] { return systemVersion; }, [this] { return devLocalInstall; },
            [this](QWidget*) { return picked; }});
        operations = std::make_unique<StoreOperations>(*services, state);
        images = std::make_unique<RemoteImageCache>(network);
        QSignalSpy reloaded(operations.get(), &StoreOperations::reloaded);
        pane = std::make_unique<StorePane>(StorePane::Inputs{
            *operations, *images, paths, [this] { return &runner; }, language,
            StorePage::grid(), [this](const SettingsRoute& r) { navigated.append(r); }});
        pane->resize(640, 800);
        pane->show();
        ASSERT_TRUE(reloaded.wait(20000));
    }

    bool waitForReload() {
        QSignalSpy reloaded(operations.get(), &StoreOperations::reloaded);
        return reloaded.wait(20000);
    }

    // Clicks the tile's button and waits until the install ended and the
    // store reloaded.
    bool installThroughTile(const QString& id) {
        StoreTile* tile = pane->tile(id);
        if (!tile || !tile->actionButton()->isVisible())
            return false;
        QSignalSpy finished(operations.get(), &StoreOperations::operationFinished);
        QSignalSpy reloaded(operations.get(), &StoreOperations::reloaded);
        tile->actionButton()->click();
        return finished.wait(30000) && reloaded.wait(20000);
    }

    QStringList tileIds() const {
        QStringList ids;
        for (StoreTile* tile : pane->tiles())
            ids.append(tile->id());
        return ids;
    }

    QString status(const QString& id) const {
        StoreTile* tile = pane->tile(id);
        if (!tile)
            return {};
        return tile->statusLabel()->isVisible() ? tile->statusLabel()->text()
                                                : tile->actionButton()->text();
    }

    QString systemVersion = "14.0";
    bool devLocalInstall = false;
    std::optional<QString> picked;
    SentCommands runner;
    QList<SettingsRoute> navigated;
    std::unique_ptr<StoreServices> services;
    std::unique_ptr<StoreOperations> operations;
    std::unique_ptr<RemoteImageCache> images;
    std::unique_ptr<StorePane> pane;

    void TearDown() override {
        pane.reset();
        if (store)
            store->waitUntilIdle();
    }
};

} // namespace ovrel::test
