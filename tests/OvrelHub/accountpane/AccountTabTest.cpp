// The account tab and the clear-data sheet against the real local service,
// signing in through the browser hand-off.
#include "DevServiceFixture.h"
#include "FakeWorkspace.h"
#include "account/BrowserDriver.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/accountpane/AccountTab.h"
#include "OvrelHub/accountpane/AccountTabServices.h"
#include "OvrelHub/accountpane/HubClearDataView.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;
using namespace ovrel::test;

namespace {

const QString kStream = QStringLiteral("moduleSettings");

QString en(LocKey key) {
    return Loc::t(key, AppLanguage::en);
}

class AccountTabTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.isReady()); }

    AccountTabServices services(AccountSandbox& machine) {
        return AccountTabServices{machine.auth,
                                  machine.sync,
                                  machine.sessionLost,
                                  machine.sessions,
                                  machine.client,
                                  [&machine] { return machine.base; },
                                  {},
                                  [] {},
                                  [this](AppLanguage language) {
                                      return ServiceEndpoints::appended(
                                          service.apiBase(),
                                          language == AppLanguage::vi
                                              ? QStringLiteral("/privacy")
                                              : "/" + AppLanguages::rawValue(language) +
                                                    "/privacy");
                                  }};
    }

    // Waits for the tab to draw itself again.
    static bool redrawn(AccountTab& tab) {
        QSignalSpy spy(&tab, &AccountTab::redrawn);
        return spy.wait(20000);
    }

    // Clicks a button of the tab by its name; false when it is not there.
    static bool click(AccountTab& tab, const QString& name) {
        auto* button = tab.part<QPushButton>(name);
        if (!button || !button->isEnabled())
            return false;
        button->click();
        return true;
    }

    DevServiceProcess service;
    FakeWorkspace workspace;
};

} // namespace

TEST_F(AccountTabTest, SignedOutShowsTheProvidersAndSignsInThroughTheBrowserHandOff) {
    AccountSandbox machine(service.apiBase());
    AccountTabServices tabServices = services(machine);
    AccountTab tab(tabServices, workspace, nullptr, AppLanguage::en);
    tab.show();
    EXPECT_TRUE(tab.part<QPushButton>("signInGoogle"));
    EXPECT_TRUE(tab.part<QPushButton>("signInDiscord"));
    EXPECT_FALSE(tab.part<QWidget>("syncSection")) << "sync needs a signed-in user";
    EXPECT_FALSE(tab.part<QWidget>("sessionLost"));
    EXPECT_TRUE(tab.part<QPushButton>("clearDataTrigger"));

    ASSERT_TRUE(click(tab, "signInDiscord"));
    ASSERT_EQ(machine.opened.size(), 1);
    EXPECT_TRUE(machine.opened.first().path().endsWith("/api/auth/discord/start"));
    const QUrl callback = completeBrowserSignIn(machine.opened.first(), "tab@example.com");
    machine.auth.handleCallback(callback); // what the running hub is handed
    ASSERT_TRUE(redrawn(tab));
    if (machine.auth.isBusy()) {
        EXPECT_TRUE(tab.part<QProgressBar>("signInBusy"));
        ASSERT_TRUE(redrawn(tab));
    }
    while (!machine.auth.currentUser()) {
        ASSERT_TRUE(redrawn(tab));
    }
    if (!tab.part<QLabel>("userEmail")) {
        ASSERT_TRUE(redrawn(tab));
    }
    ASSERT_TRUE(tab.part<QLabel>("userEmail"));
    EXPECT_EQ(tab.part<QLabel>("userEmail")->text(), "tab@example.com");
    EXPECT_EQ(tab.part<QLabel>("userName")->text(), "Test");
    EXPECT_FALSE(tab.part<QPushButton>("signInGoogle"));
    EXPECT_TRUE(tab.part<QWidget>("syncSection"));

    ASSERT_TRUE(click(tab, "logOut"));
    ASSERT_TRUE(redrawn(tab));
    EXPECT_FALSE(machine.auth.currentUser());
    EXPECT_TRUE(tab.part<QPushButton>("signInGoogle"));
    EXPECT_FALSE(tab.part<QWidget>("syncSection"));
}

TEST_F(AccountTabTest, AConflictIsResolvedFromTheTabEitherWay) {
    AccountSandbox first(service.apiBase(), QStringLiteral("machine-A"));
    AccountSandbox second(service.apiBase(), QStringLiteral("machine-B"));
    ASSERT_TRUE(signIn(first, "both@example.com"));
    ASSERT_TRUE(signIn(second, "both@example.com"));
    ModuleSettingsStore(first.paths).save({{"format", SettingValue::fromString("24h")}}, "clock");
    first.sync.start();
    ASSERT_TRUE(first.waitForSync());
    second.sync.start();
    ASSERT_TRUE(second.waitForSync());
    AccountTabServices tabServices = services(second);
    AccountTab tab(tabServices, workspace, nullptr, AppLanguage::en);
    tab.show();

    const SettingsMap mine{{"format", SettingValue::fromString("device")}};
    for (const bool keepCloud : {true, false}) {
        const QString cloud = keepCloud ? "cloud" : "cloud2";
        ModuleSettingsStore(first.paths).save({{"format", SettingValue::fromString(cloud)}},
                                              "clock");
        first.sync.onModuleSettingsChanged();
        ASSERT_TRUE(first.waitForSync());
        ModuleSettingsStore(second.paths).save(mine, "clock");
        second.sync.onModuleSettingsChanged();
        ASSERT_TRUE(second.waitForSync());
        if (!tab.part<QLabel>("conflict:" + kStream)) {
            ASSERT_TRUE(redrawn(tab));
        }
        ASSERT_TRUE(tab.part<QLabel>("conflict:" + kStream));
        EXPECT_EQ(tab.part<QLabel>("status:" + kStream)->text(), en(LocKey::syncStatusConflict));
        EXPECT_EQ(tab.part<QLabel>("conflict:" + kStream)->text(),
                  Loc::format(LocKey::conflictDescFormat, AppLanguage::en,
                              {en(LocKey::moduleSettingsLabel)}));

        ASSERT_TRUE(click(tab, (keepCloud ? "keepCloud:" : "keepThisDevice:") + kStream));
        if (!keepCloud) {
            ASSERT_TRUE(second.waitForSync());
        } // this device's side goes up
        ASSERT_TRUE(redrawn(tab));
        EXPECT_FALSE(tab.part<QLabel>("conflict:" + kStream));
        const auto settings = ModuleSettingsStore::readFile(second.paths.settingsFile("clock"));
        const SettingsMap expected =
            keepCloud ? SettingsMap{{"format", SettingValue::fromString("cloud")}} : mine;
        EXPECT_EQ(settings, expected);
    }
    first.sync.syncNow();
    ASSERT_TRUE(first.waitForSync());
    EXPECT_EQ(ModuleSettingsStore::readFile(first.paths.settingsFile("clock")), mine);
}

TEST_F(AccountTabTest, TheSessionLostNoticeStaysUntilDismissed) {
    AccountSandbox machine(service.apiBase());
    AccountTabServices tabServices = services(machine);
    machine.sessionLost.report(SessionLostReason::revoked);
    AccountTab tab(tabServices, workspace, nullptr, AppLanguage::en);
    ASSERT_TRUE(tab.part<QWidget>("sessionLost"));
    ASSERT_TRUE(click(tab, "sessionLostDismiss"));
    ASSERT_TRUE(redrawn(tab));
    EXPECT_FALSE(tab.part<QWidget>("sessionLost"));
    EXPECT_FALSE(machine.sessionLost.reason());
}

TEST_F(AccountTabTest, ThePrivacyLinkFollowsTheLanguage) {
    AccountSandbox machine(service.apiBase());
    AccountTabServices tabServices = services(machine);
    for (const AppLanguage language : {AppLanguage::fr, AppLanguage::vi}) {
        AccountTab tab(tabServices, workspace, nullptr, language);
        ASSERT_TRUE(click(tab, "privacyPolicyLink"));
    }
    ASSERT_EQ(workspace.opened.size(), 2);
    EXPECT_EQ(workspace.opened.at(0).path(), "/fr/privacy");
    EXPECT_EQ(workspace.opened.at(1).path(), "/privacy");
}

TEST_F(AccountTabTest, ClearingDataShowsOneLinePerCategoryAndFollowsUp) {
    AccountSandbox machine(service.apiBase());
    ASSERT_TRUE(signIn(machine, "clear@example.com"));
    ModuleSettingsStore(machine.paths).save({{"format", SettingValue::fromString("x")}}, "clock");
    machine.sync.start();
    ASSERT_TRUE(machine.waitForSync());
    AccountTabServices tabServices = services(machine);
    AccountTab tab(tabServices, workspace, nullptr, AppLanguage::en);
    tab.show();

    // Synced data only; cancelling the confirmation sends nothing.
    ASSERT_TRUE(click(tab, "clearDataTrigger"));
    HubClearDataView* sheet = tab.clearDataSheet();
    ASSERT_TRUE(sheet);
    EXPECT_FALSE(sheet->toggle(ClearDataAction::stats)) << "this edition has no statistics";
    sheet->toggle(ClearDataAction::sync)->setChecked(true);
    sheet->deleteButton()->click();
    ASSERT_TRUE(sheet->confirmation());
    for (QAbstractButton* button : sheet->confirmation()->buttons()) {
        if (button->text() == en(LocKey::cancel))
            button->click();
    }
    EXPECT_FALSE(sheet->deletion().isDeleting());
    EXPECT_TRUE(sheet->resultLines().isEmpty());

    sheet->deleteButton()->click();
    QSignalSpy shown(sheet, &HubClearDataView::resultsShown);
    const auto confirmDelete = [&] {
        for (QAbstractButton* button : sheet->confirmation()->buttons()) {
            if (button->text() == en(LocKey::delete_))
                button->click();
        }
    };
    confirmDelete();
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_EQ(sheet->resultLines(),
              (QList<QPair<QString, QString>>{
                  {en(LocKey::clearSyncToggle), en(LocKey::clearDataSuccess)}}));
    EXPECT_EQ(machine.syncState.version(kStream), 0) << "the bookkeeping starts afresh";
    EXPECT_TRUE(machine.auth.currentUser());

    // The account takes the synced data with it; the user is signed out.
    sheet->toggle(ClearDataAction::sync)->setChecked(false);
    sheet->toggle(ClearDataAction::account)->setChecked(true);
    EXPECT_TRUE(sheet->toggle(ClearDataAction::sync)->isChecked());
    sheet->deleteButton()->click();
    confirmDelete();
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_EQ(sheet->resultLines(),
              (QList<QPair<QString, QString>>{
                  {en(LocKey::clearAccountToggle), en(LocKey::clearDataSuccess)}}));
    EXPECT_FALSE(machine.auth.currentUser());
    if (tab.part<QWidget>("syncSection")) {
        ASSERT_TRUE(redrawn(tab));
    }
    EXPECT_FALSE(tab.part<QWidget>("syncSection"));
}

TEST_F(AccountTabTest, SignedOutTheServerCategoriesCannotBeChosen) {
    AccountSandbox machine(service.apiBase());
    AccountTabServices tabServices = services(machine);
    HubClearDataView sheet(tabServices, false, AppLanguage::en);
    EXPECT_FALSE(sheet.toggle(ClearDataAction::sync)->isEnabled());
    EXPECT_FALSE(sheet.toggle(ClearDataAction::account)->isEnabled());
    sheet.toggle(ClearDataAction::sync)->setChecked(true);
    sheet.deleteButton()->click();
    for (QAbstractButton* button : sheet.confirmation()->buttons()) {
        if (button->text() == en(LocKey::delete_))
            button->click();
    }
    EXPECT_FALSE(sheet.deletion().isDeleting()) << "an empty plan sends nothing";
    EXPECT_TRUE(sheet.resultLines().isEmpty());
}
