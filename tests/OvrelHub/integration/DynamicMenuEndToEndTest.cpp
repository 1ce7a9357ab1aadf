#include "OvrelHub/menu/DynamicMenuSections.h"
#include "OvrelHub/shell/HubController.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelModuleKit/menu/DynamicMenuFile.h"
#include "Platform/notify/NotificationCenter.h"
#include "Platform/plist/UserDefaults.h"
#include "Platform/tray/MenuText.h"
#include "Platform/tray/QtMenuRenderer.h"
#include "SampleModuleFixture.h"

#include <QAction>
#include <QMenu>

using namespace ovrel;

namespace {

const DynamicMenuItem* itemWithId(const std::vector<DynamicMenuItem>& items, const QString& id) {
    for (const DynamicMenuItem& item : items)
        if (item.id == id)
            return &item;
    return nullptr;
}

class DynamicMenuEndToEndTest : public test::SampleModuleFixture {
protected:
    std::vector<DynamicMenuItem> pulseMenu() const {
        return DynamicMenuFile::read(paths, QStringLiteral("pulse"));
    }

    // Builds the status menu from the hub's current model, then lets the hub
    // insert the module menus as it does on every opening.
    QString openMenu() {
        QtMenuRenderer::render(hub.platformMenuItems(), menu);
        hub.menuWillOpen(&menu);
        return MenuText::fromMenu(menu);
    }

    // The action right after the one with anchorId, if any.
    QAction* actionAfter(const QString& anchorId) const {
        const QList<QAction*> actions = menu.actions();
        for (qsizetype i = 0; i + 1 < actions.size(); ++i)
            if (QtMenuRenderer::idOf(*actions[i]) == anchorId)
                return actions[i + 1];
        return nullptr;
    }

    UserDefaults defaults{QStringLiteral("vn.ovrel.lite"), dir.file(QStringLiteral("hub"))};
    HubSettings settings{defaults, NotificationCenter::defaultCenter(),
                         [] { return AppLanguage::en; }};
    int rebuilds = 0;
    HubController hub{nullptr, nullptr, [this] { ++rebuilds; },
                      HubController::Collaborators{settings, workspace, paths, &state,
                                                   [this] { return store.installedManifests(); },
                                                   [this] { return &runner; }}};
    QMenu menu;
};

} // namespace

TEST_F(DynamicMenuEndToEndTest, RunningPulseShowsItsMenuAndTakesItsCommandsFromIt) {
    install("pulse", "Pulse");
    // The hub takes its runner and publishes its language before the module
    // starts, so the module's menu comes in the hub's language from the first write.
    const int before = rebuilds;
    hub.didFinishLaunching();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rebuilds > before; }, 30000));
    ASSERT_EQ(hub.moduleModel().items.size(), 1);

    EXPECT_FALSE(openMenu().contains("Pulse (disabled)")) << "not running: no section";

    runner.send("checkPermissions", std::nullopt, "pulse");
    ASSERT_TRUE(waitUntilRunning("pulse"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto items = pulseMenu();
            const DynamicMenuItem* breakNow = itemWithId(items, "breakNow");
            return breakNow && breakNow->title == "Take a break now";
        },
        30000));
    // Pulse publishes its menu before it listens for commands; its answer to
    // the first command shows that it listens.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QFile::exists(paths.permissionsFile("pulse")); }, 30000));
    const std::vector<DynamicMenuItem> published = pulseMenu();
    ASSERT_TRUE(itemWithId(published, "resume") && itemWithId(published, "resume")->checked);

    // Header and entries follow the module items.
    const QString text = openMenu();
    EXPECT_EQ(text.count("Pulse (disabled)"), 1) << text.toStdString();
    for (const DynamicMenuItem& item : published)
        EXPECT_TRUE(text.contains(item.title)) << item.title.toStdString();
    EXPECT_TRUE(text.contains(itemWithId(published, "status")->title + " (disabled)"));
    QAction* header = actionAfter(hub.dynamicInsertAfter());
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(QtMenuRenderer::idOf(*header), "dynamic:pulse:header");
    EXPECT_FALSE(header->isEnabled());

    // "Until I turn them back on" in the pause submenu.
    QAction* pauseMenu = QtMenuRenderer::findById(menu, "dynamic:pulse:pause-menu");
    ASSERT_NE(pauseMenu, nullptr);
    ASSERT_NE(pauseMenu->menu(), nullptr);
    QAction* untilResumed = QtMenuRenderer::findById(*pauseMenu->menu(), "dynamic:pulse:pause");
    ASSERT_NE(untilResumed, nullptr);
    posted.clear();
    untilResumed->trigger();

    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].name, "vn.ovrel.module.pulse.command");
    ASSERT_TRUE(posted[0].inbox.has_value());
    EXPECT_EQ(posted[0].inbox->command, "pause");
    EXPECT_EQ(posted[0].inbox->argument, "pause");
    ASSERT_TRUE(waitUntilInboxTaken("pulse"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto items = pulseMenu();
            const DynamicMenuItem* resume = itemWithId(items, "resume");
            return resume && !resume->checked;
        },
        30000));
    const std::vector<DynamicMenuItem> republished = pulseMenu();
    const DynamicMenuItem* pauseEntry = itemWithId(republished, "pause-menu");
    ASSERT_NE(pauseEntry, nullptr);
    ASSERT_NE(itemWithId(pauseEntry->children, "pause"), nullptr);
    EXPECT_TRUE(itemWithId(pauseEntry->children, "pause")->checked);
    EXPECT_EQ(running("pulse").size(), 1);
    EXPECT_EQ(alerts, 0);

    // The republished menu shows on the next opening.
    EXPECT_TRUE(openMenu().contains("Paused")) << "status line of a paused pulse";

    stopModules();
    EXPECT_TRUE(running("pulse").isEmpty());
    const QString afterStop = openMenu();
    EXPECT_FALSE(afterStop.contains("Pulse (disabled)")) << afterStop.toStdString();
    EXPECT_EQ(QtMenuRenderer::findById(menu, "dynamic:pulse:header"), nullptr);
}
