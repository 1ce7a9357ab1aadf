// The store pane against the real local service and a real module store.
#include "StorePaneFixture.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/modules/ModulesChanged.h"
#include "OvrelHub/storepane/StoreDetailPane.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "Platform/notify/NotificationCenter.h"
#include "Platform/system/SystemLog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>

using namespace ovrel;
using namespace ovrel::test;

namespace {

QByteArray randomBytes(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 seed = 12345;
    for (char& c : bytes) {
        seed = seed * 1664525u + 1013904223u;
        c = char(seed >> 24);
    }
    return bytes;
}

QString en(LocKey key) {
    return Loc::t(key, AppLanguage::en);
}

} // namespace

TEST_F(StorePaneTest, ListsTheCatalogThenInstalledModulesItNoLongerOffersWithTheirActions) {
    publish(bundle("1.0.0"));
    TestBundle newer = bundle("2.0.0", "radio");
    newer.extraManifestKeys["minMacOS"] = "99.0";
    publish(newer);
    state.update([](ModulesState& s) {
        InstalledModule gone;
        gone.id = "archived";
        gone.version = "0.9.0";
        gone.appName = "archived.app";
        s.installed["archived"] = gone;
    });
    startService();
    openPane();

    EXPECT_EQ(tileIds(), (QStringList{"clock", "radio"}))
        << "an entry whose bundle is gone is reconciled away before listing";
    EXPECT_EQ(status("clock"), en(LocKey::appsInstall));
    EXPECT_TRUE(pane->tile("clock")->actionButton()->isVisible());
    EXPECT_EQ(status("radio"), Loc::format(LocKey::appsNeedsMacOSFormat, AppLanguage::en, {"99.0"}));
    EXPECT_FALSE(pane->tile("radio")->actionButton()->isVisible()) << "no install button";
    EXPECT_FALSE(pane->feedbackStrip()->isVisible());

    // Installed and then dropped from the catalog: listed after it, still removable.
    ASSERT_TRUE(installThroughTile("clock"));
    QFile::remove(catalogDir + "/clock.zip");
    operations->reload();
    ASSERT_TRUE(waitForReload());
    EXPECT_EQ(tileIds(), (QStringList{"radio", "clock"}));
    EXPECT_EQ(status("clock"), en(LocKey::appsInstalledSection));
    pane->tile("clock")->setFocus();
    QTest::keyClick(pane->tile("clock"), Qt::Key_Return);
    ASSERT_TRUE(pane->detail());
    EXPECT_TRUE(pane->detail()->uninstallButton());
    EXPECT_FALSE(pane->detail()->installButton());
}

TEST_F(StorePaneTest, SearchFindsAVietnameseNameTypedWithoutMarksAndWithAPlainD) {
    publish(bundle("1.0.0"));
    TestBundle other = bundle("1.0.0", "radio");
    other.extraManifestKeys["name"] = QJsonObject{{"vi", "Đài phát thanh"}, {"en", "Radio"}};
    other.extraManifestKeys["summary"] = QJsonObject{{"vi", "Nghe đài"}, {"en", "Listen"}};
    publish(other);
    startService();
    openPane(AppLanguage::vi);

    for (const QString query : {"DONG HO", "  đồng  ", "dong"}) {
        pane->searchField()->setText(query);
        EXPECT_EQ(tileIds(), QStringList{"clock"}) << query.toStdString();
    }
    pane->searchField()->setText("xem GIO"); // the summary "Xem giờ"
    EXPECT_EQ(tileIds(), QStringList{"clock"});
    pane->searchField()->setText("dai");
    EXPECT_EQ(tileIds(), QStringList{"radio"});
    pane->searchField()->setText("zzz");
    EXPECT_TRUE(tileIds().isEmpty());
    EXPECT_EQ(pane->emptyLabel()->text(), Loc::t(LocKey::appsNoSearchResults, AppLanguage::vi));
    pane->searchField()->clear();
    EXPECT_EQ(tileIds().size(), 2);
}

TEST_F(StorePaneTest, AnInstallShowsItsProgressThenGivesTheDefaultShortcut) {
    publish(bundle("1.0.0"));
    startService();
    openPane();
    int changes = 0;
    QObject observer;
    NotificationCenter::defaultCenter().observe(QString::fromLatin1(ovrelModulesChanged),
                                                &observer, [&] { ++changes; });
    QStringList captions;
    QObject::connect(operations.get(), &StoreOperations::progressChanged, [&](const QString& id) {
        captions.append(pane->tile(id)->statusLabel()->text());
    });

    ASSERT_TRUE(installThroughTile("clock"));
    EXPECT_TRUE(captions.contains(en(LocKey::appsInstalling)));
    EXPECT_TRUE(std::any_of(captions.begin(), captions.end(), [](const QString& c) {
        return c.startsWith("Downloading… ") && c.contains(" of ");
    })) << captions.join(" | ").toStdString();
    EXPECT_TRUE(captions.contains(en(LocKey::appsUnpacking)));
    EXPECT_EQ(installedVersion("clock"), "1.0.0");
    EXPECT_EQ(status("clock"), en(LocKey::appsInstalledSection));
    EXPECT_EQ(changes, 1);
    const auto hotkeys = state.load().installed.at("clock").hotkeys;
    ASSERT_TRUE(hotkeys.count("show"));
    EXPECT_EQ(hotkeys.at("show"), Hotkey(40, false, true, false, true));
    EXPECT_FALSE(pane->alertBox());
}

TEST_F(StorePaneTest, TheDetailPageUpdatesAndStaysOpenAcrossReloads) {
    publish(bundle("1.0.0"));
    startService();
    openPane();
    ASSERT_TRUE(installThroughTile("clock"));
    publish(bundle("1.1.0"));
    operations->reload();
    ASSERT_TRUE(waitForReload());
    EXPECT_EQ(status("clock"), en(LocKey::appsUpdate));

    pane->tile("clock")->chosen();
    ASSERT_TRUE(pane->detail());
    EXPECT_EQ(pane->detail()->captionLabel()->text(),
              Loc::format(LocKey::appsUpdateAvailableFormat, AppLanguage::en, {"1.1.0"}));
    ASSERT_TRUE(pane->detail()->updateButton());
    QSignalSpy finished(operations.get(), &StoreOperations::operationFinished);
    pane->detail()->updateButton()->click();
    ASSERT_TRUE(finished.wait(30000));
    ASSERT_TRUE(waitForReload());
    EXPECT_EQ(installedVersion("clock"), "1.1.0");
    ASSERT_TRUE(pane->detail()) << "the page stays while its module is listed";
    EXPECT_EQ(pane->page(), StorePage::detail("clock"));
    EXPECT_FALSE(pane->detail()->updateButton());

    pane->detail()->openAppButton()->click();
    EXPECT_EQ(runner.sent, QStringList{"clock:open"});
    pane->detail()->openSettingsButton()->click();
    ASSERT_EQ(navigated.size(), 1);
    EXPECT_EQ(navigated.first(), SettingsRoute::module("clock"));
    pane->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(pane.get()));
    pane->detail()->backButton()->setFocus();
    QTest::keyClick(pane->detail()->backButton(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(pane->page(), StorePage::grid());
}

TEST_F(StorePaneTest, UninstallAsksFirstAndKeepsTheSettingsWhenAskedTo) {
    publish(bundle("1.0.0"));
    startService();
    openPane();
    ASSERT_TRUE(installThroughTile("clock"));
    ModuleSettingsStore(paths).save({{"format", SettingValue::fromString("24h")}}, "clock");
    pane->tile("clock")->chosen();
    ASSERT_TRUE(pane->detail() && pane->detail()->uninstallButton());

    // Cancelled: nothing happens.
    pane->detail()->uninstallButton()->click();
    ASSERT_TRUE(pane->confirmation());
    EXPECT_EQ(pane->confirmation()->text(),
              Loc::format(LocKey::appsUninstallConfirmFormat, AppLanguage::en, {"Clock"}));
    EXPECT_FALSE(pane->confirmation()->checkBox()->isChecked());
    pane->confirmation()->buttons().at(0)->click(); // Cancel
    EXPECT_EQ(installedVersion("clock"), "1.0.0");

    pane->detail()->uninstallButton()->click();
    ASSERT_TRUE(pane->confirmation());
    pane->confirmation()->checkBox()->setChecked(true);
    QSignalSpy finished(operations.get(), &StoreOperations::operationFinished);
    for (QAbstractButton* button : pane->confirmation()->buttons()) {
        if (button->text() == en(LocKey::appsUninstall))
            button->click();
    }
    ASSERT_TRUE(finished.wait(30000));
    ASSERT_TRUE(waitForReload());
    EXPECT_EQ(installedVersion("clock"), QString());
    EXPECT_FALSE(QFileInfo::exists(paths.moduleDir("clock")));
    EXPECT_TRUE(QFileInfo::exists(paths.settingsFile("clock")));
    ASSERT_TRUE(pane->detail()) << "the catalog still lists the module";
    EXPECT_TRUE(pane->detail()->installButton());
    pane->detail()->backButton()->click();
    EXPECT_EQ(status("clock"), en(LocKey::appsInstall));
}

TEST_F(StorePaneTest, AServiceThatWantsASignedInUserSaysSo) {
    publish(bundle("1.0.0"));
    startService();
    const CatalogEntry entry = fetchEntry("clock"); // read before the service refused it
    startService({"--require-token", "someone-else"});
    openPane();
    EXPECT_TRUE(pane->feedbackStrip()->isVisible());
    EXPECT_EQ(pane->feedbackStrip()->text(), en(LocKey::appsSignInToInstall));

    QSignalSpy finished(operations.get(), &StoreOperations::operationFinished);
    operations->install(entry);
    ASSERT_TRUE(finished.wait(30000));
    ASSERT_TRUE(operations->alert());
    ASSERT_TRUE(pane->alertBox());
    EXPECT_EQ(pane->alertBox()->text(),
              Loc::format(LocKey::appsInstallFailedFormat, AppLanguage::en,
                          {en(LocKey::appsSignInToInstall)}));
    EXPECT_EQ(stagingLeftovers(), QStringList());
}

TEST_F(StorePaneTest, OfflineTheInstalledModulesStayAndRetryLoadsTheCatalog) {
    publish(bundle("1.0.0"));
    startService();
    installFromCatalog("clock");
    auto running = std::move(service); // the store stays, the service goes
    running.reset();
    openPane();
    EXPECT_EQ(pane->feedbackStrip()->text(), en(LocKey::appsCatalogLoadFailed));
    EXPECT_TRUE(pane->retryButton()->isVisible());
    EXPECT_EQ(tileIds(), QStringList{"clock"});
    EXPECT_EQ(status("clock"), en(LocKey::appsInstalledSection));

    publish(bundle("1.0.0", "radio"));
    service = std::make_unique<CatalogServiceProcess>(catalogDir);
    pane->retryButton()->click();
    ASSERT_TRUE(waitForReload());
    EXPECT_FALSE(pane->feedbackStrip()->isVisible());
    EXPECT_EQ(tileIds(), (QStringList{"clock", "radio"}));
}

TEST_F(StorePaneTest, CancellingADownloadOrAFailedInstallLeavesTheRowAsItWas) {
    // Random bytes do not compress: the archive trickles out for seconds.
    TestBundle large = bundle("1.0.0");
    large.executableBytes += randomBytes(256 * 1024);
    publish(large);
    startService({"--slow-body", "20"});
    openPane();
    QSignalSpy finished(operations.get(), &StoreOperations::operationFinished);
    pane->tile("clock")->actionButton()->click();
    QSignalSpy progressed(operations.get(), &StoreOperations::progressChanged);
    while (!pane->tile("clock")->cancelButton()->isVisible()) {
        ASSERT_TRUE(progressed.wait(20000));
    }
    pane->tile("clock")->cancelButton()->click();
    if (finished.isEmpty()) {
        ASSERT_TRUE(finished.wait(30000));
    }
    ASSERT_TRUE(waitForReload());
    EXPECT_EQ(status("clock"), en(LocKey::appsInstall));
    EXPECT_FALSE(pane->alertBox()) << "a cancel is no failure";
    EXPECT_FALSE(pane->tile("clock")->failureLabel()->isVisible());
    EXPECT_EQ(stagingLeftovers(), QStringList());

    // The archive changes after the catalog was read: the digest no longer matches.
    TestBundle changed = large;
    changed.executableBytes += " changed";
    publish(changed);
    pane->tile("clock")->actionButton()->click();
    ASSERT_TRUE(finished.wait(30000));
    ASSERT_TRUE(waitForReload());
    EXPECT_EQ(status("clock"), en(LocKey::appsInstall));
    EXPECT_EQ(pane->tile("clock")->failureLabel()->text(), en(LocKey::appsCatalogLoadFailed));
    ASSERT_TRUE(pane->alertBox());
    EXPECT_EQ(pane->alertBox()->text(),
              Loc::format(LocKey::appsInstallFailedFormat, AppLanguage::en,
                          {en(LocKey::appsCatalogLoadFailed)}));
}

TEST_F(StorePaneTest, AutoUpdateWritesOnlyItsFlag) {
    publish(bundle("1.0.0"));
    startService();
    installFromCatalog("clock");
    const InstalledModule before = state.load().installed.at("clock");
    openPane();
    ASSERT_TRUE(pane->autoUpdateSwitch()->isChecked());
    pane->autoUpdateSwitch()->click();
    EXPECT_FALSE(state.load().autoUpdate);
    EXPECT_EQ(state.load().installed.at("clock"), before);
}

TEST_F(StorePaneTest, BuildModeInstallsABundlePickedFromDisk) {
    devLocalInstall = true;
    startService();
    openPane();
    ASSERT_TRUE(pane->localInstallButton());
    picked = writeSignedBundle(dir.file("picked"), bundle("3.0.0"), testIdentity());
    QSignalSpy finished(operations.get(), &StoreOperations::operationFinished);
    pane->localInstallButton()->click();
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(installedVersion("clock"), "3.0.0");
    EXPECT_TRUE(QFileInfo::exists(*picked)) << "the picked bundle stays where it was";

    picked = dir.file("nothing.app");
    pane->localInstallButton()->click();
    ASSERT_TRUE(pane->alertBox());
    EXPECT_EQ(pane->alertBox()->text(), "Không đọc được manifest trong bundle đó.");
}
