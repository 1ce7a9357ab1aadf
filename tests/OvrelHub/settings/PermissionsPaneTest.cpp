#include "OvrelHub/settings/PermissionsPane.h"
#include "OvrelHub/settings/PermissionOverviewBuilder.h"
#include "OvrelHub/settings/PermissionRecheck.h"
#include "OvrelHub/shell/ServiceEndpoints.h"
#include "SettingsFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace ovrel;

namespace {

using Group = PermissionOverviewBuilder::Group;
using Row = PermissionOverviewBuilder::Row;

class PermissionsPaneTest : public test::SettingsFixture {
protected:
    std::unique_ptr<PermissionsPane> pane() {
        auto made = std::make_unique<PermissionsPane>(services(), AppLanguage::en);
        PermissionsPane* pane = made.get();
        EXPECT_TRUE(QTest::qWaitFor([pane] { return !pane->groups().isEmpty(); }));
        made->show();
        return made;
    }

    void report(const QString& id, PermissionKind kind, PermissionStatus status) {
        PermissionStatusFile::write({{kind, status}}, paths, id, std::chrono::system_clock::now());
    }

    QStringList buttonTexts(QWidget& widget) {
        QStringList out;
        for (auto* button : widget.findChildren<QPushButton*>())
            out.append(button->text());
        return out;
    }
};

} // namespace

TEST_F(PermissionsPaneTest, OneGroupPerDeclaringModuleWithItsReportedStatuses) {
    install("zeta", test::settingsManifestJson("zeta", false, {"inputMonitoring"}));
    install("alpha",
            test::settingsManifestJson("alpha", false, {"fullDiskAccess", "accessibility"}));
    install("plain", test::settingsManifestJson("plain"));
    install("broken", std::nullopt);
    report("alpha", PermissionKind::accessibility, PermissionStatus::granted);
    std::map<QString, ModuleManifest> manifests;
    for (const InstalledPair& pair : pairs)
        manifests.emplace(pair.module.id, pair.manifest);

    const auto groups = PermissionOverviewBuilder::items(
        state.load().installed, manifests, AppLanguage::en,
        [this](const QString& id, const std::vector<PermissionKind>& declared) {
            return PermissionStatusFile::read(paths, id, declared);
        });
    EXPECT_EQ(groups, (QList<Group>{
                          {"alpha",
                           "Clock alpha",
                           {{PermissionKind::fullDiskAccess, PermissionStatus::undetermined},
                            {PermissionKind::accessibility, PermissionStatus::granted}}},
                          {"zeta",
                           "Clock zeta",
                           {{PermissionKind::inputMonitoring, PermissionStatus::undetermined}}}}));
}

TEST_F(PermissionsPaneTest, AMissingPermissionOffersToOpenWhereItIsGranted) {
    install("clock", test::settingsManifestJson("clock", false, {"accessibility"}));
    auto shown = pane();
    EXPECT_EQ(shown->title()->text(), "System Permissions");
    EXPECT_EQ(buttonTexts(*shown), (QStringList{"Refresh", QString::fromUtf8("How to allow it…")}));
    const QList<QLabel*> labels = shown->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [](QLabel* label) { return label->text() == "Undetermined"; }));

    QPushButton* open = shown->findChildren<QPushButton*>().last();
    QTest::mouseClick(open, Qt::LeftButton);
    ASSERT_EQ(workspace.opened.size(), 1);
    EXPECT_EQ(workspace.opened[0].path(),
              ServiceEndpoints::guidePage(AppLanguage::en)->path() + "/permissions/accessibility");

    report("clock", PermissionKind::accessibility, PermissionStatus::granted);
    shown->reload();
    PermissionsPane* pane = shown.get();
    ASSERT_TRUE(QTest::qWaitFor(
        [pane] { return pane->groups()[0].rows[0].status == PermissionStatus::granted; }));
    EXPECT_EQ(buttonTexts(*shown), (QStringList{"Refresh"})) << "granted: nothing to open";
}

TEST_F(PermissionsPaneTest, EachKindOpensItsGuidePage) {
    EXPECT_EQ(
        PermissionPaneOpener::address(PermissionKind::fullDiskAccess, AppLanguage::vi)->path(),
        ServiceEndpoints::guidePage(AppLanguage::vi)->path() + "/permissions/fullDiskAccess");
    EXPECT_TRUE(PermissionPaneOpener::address(PermissionKind::screenRecording, AppLanguage::fr)
                    ->path()
                    .endsWith("/fr/guide/permissions/screenRecording"));
    PermissionPaneOpener opener(workspace);
    QStringList asked;
    opener.setOpener([&asked](const QString& address) {
        asked.append(address);
        return false;
    });
    EXPECT_FALSE(opener.open(PermissionKind::inputMonitoring, AppLanguage::en));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].endsWith("/en/guide/permissions/inputMonitoring"));
}

TEST_F(PermissionsPaneTest, RefreshAsksEveryModuleAndShowsTheAnswers) {
    install("clock", test::settingsManifestJson("clock", false, {"screenRecording"}));
    QDir().mkpath(paths.moduleDir("clock"));
    auto shown = pane();
    // The module answers the command by writing its report.
    runner.onSend = [this](const test::RecordingRunner::Sent& sent) {
        QMetaObject::invokeMethod(
            qApp,
            [this, id = sent.moduleId] {
                report(id, PermissionKind::screenRecording, PermissionStatus::denied);
            },
            Qt::QueuedConnection);
    };
    QTest::mouseClick(shown->refreshButton(), Qt::LeftButton);
    EXPECT_FALSE(shown->refreshButton()->isEnabled());
    PermissionsPane* pane = shown.get();
    ASSERT_TRUE(QTest::qWaitFor(
        [pane] { return pane->groups()[0].rows[0].status == PermissionStatus::denied; }));

    ASSERT_EQ(runner.sent.size(), 1);
    EXPECT_EQ(runner.sent[0].command, "checkPermissions");
    EXPECT_EQ(runner.sent[0].moduleId, "clock");
    EXPECT_EQ(shown->groups()[0].rows[0].status, PermissionStatus::denied);
    EXPECT_TRUE(shown->refreshButton()->isEnabled());
}

TEST(PermissionRecheck, WaitsForTheAnswersUntilTheDeadline) {
    test::TempDir dir;
    const ModulePaths paths(dir.file("root"));
    QDir().mkpath(paths.moduleDir("quick"));
    QDir().mkpath(paths.moduleDir("silent"));
    const auto start = std::chrono::system_clock::now();
    PermissionStatusFile::write({}, paths, "stale", start - std::chrono::seconds(5));

    PermissionRecheck none(paths, {}, start);
    QSignalSpy noneFinished(&none, &PermissionRecheck::finished);
    none.start();
    EXPECT_TRUE(noneFinished.wait()) << "nobody to wait for";

    PermissionRecheck recheck(paths, {"quick", "silent", "stale"}, start);
    QSignalSpy finished(&recheck, &PermissionRecheck::finished);
    QElapsedTimer clock;
    clock.start();
    recheck.start(std::chrono::milliseconds(400));
    PermissionStatusFile::write({}, paths, "quick", std::chrono::system_clock::now());
    ASSERT_TRUE(finished.wait());
    EXPECT_EQ(recheck.pending(), (QStringList{"silent", "stale"}));
    EXPECT_EQ(finished.size(), 1);
}
