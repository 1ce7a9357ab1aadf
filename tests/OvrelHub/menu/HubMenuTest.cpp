#include "FakeWorkspace.h"
#include "ModuleFixtures.h"
#include "OvrelHub/menu/GridIconMetrics.h"
#include "OvrelHub/menu/ModuleGridView.h"
#include "OvrelHub/menu/ModuleMenuBuilder.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/shell/HubController.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelModuleKit/inbox/ModuleHostState.h"
#include "OvrelModuleKit/menu/DynamicMenuFile.h"
#include "Platform/system/SystemLog.h"
#include "Platform/tray/MenuText.h"
#include "Platform/tray/QtMenuRenderer.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMouseEvent>
#include <QPromise>
#include <QTest>
#include <gtest/gtest.h>

using namespace ovrel;
using test::installedModule;

namespace {

struct RecordingSender : ModuleCommandSending {
    void send(const QString& command, const std::optional<QString>& argument,
              const QString& moduleId) override {
        sent.append(ModuleCommandRef{moduleId, command, argument});
    }
    QList<ModuleCommandRef> sent;
};

struct HubMenuFixture : ::testing::Test {
    test::TempDir dir;
    UserDefaults defaults{QStringLiteral("vn.ovrel.lite"), dir.path()};
    HubSettings settings{defaults, NotificationCenter::defaultCenter(),
                         [] { return AppLanguage::en; }};
    test::FakeWorkspace workspace;
    ModulePaths paths{dir.file("root")};
    ModuleStateStore stateStore{paths};
    RecordingSender sender;
    QList<InstalledPair> installed;
    int rebuilds = 0;
    HubController hub{nullptr, nullptr, [this] { ++rebuilds; },
                      HubController::Collaborators{settings, workspace, paths, &stateStore,
                                                   [this] {
                                                       QPromise<QList<InstalledPair>> promise;
                                                       promise.start();
                                                       promise.addResult(installed);
                                                       promise.finish();
                                                       return promise.future();
                                                   },
                                                   [this] { return &sender; }}};

    void install(QList<InstalledPair> pairs) {
        installed = std::move(pairs);
        ModulesState state;
        for (const auto& pair : installed)
            state.installed.emplace(pair.module.id, pair.module);
        stateStore.save(state);
    }
    // Runs the launch work and waits until the refreshed model is in place.
    void launch() {
        int before = rebuilds;
        hub.didFinishLaunching();
        ASSERT_TRUE(QTest::qWaitFor([&] { return rebuilds > before; }, 10000));
    }
    static QStringList ids(const StatusMenuModel& model) {
        QStringList out;
        for (const auto& item : model)
            out.append(item.kind == StatusMenuItem::Kind::separator ? "---" : item.id);
        return out;
    }
    static const StatusMenuItem* find(const StatusMenuModel& model, const QString& id) {
        for (const auto& item : model)
            if (item.id == id)
                return &item;
        return nullptr;
    }
    QList<InstalledPair> modules(int count) {
        QList<InstalledPair> out;
        for (int i = 0; i < count; ++i)
            out.append(installedModule(QString("m%1").arg(i), {"open"}));
        return out;
    }
    void publishMenu(const QString& id, const QByteArray& json) {
        test::writeFile(paths.dynamicMenuFile(id), json);
    }
    void markRunning(const QString& id) {
        workspace.running["vn.ovrel.module." + id].append(
            std::make_shared<test::FakeRunningApplication>(4242));
    }
    QMenu renderedMenu;
    void open() {
        QtMenuRenderer::render(hub.platformMenuItems(), renderedMenu);
        hub.menuWillOpen(&renderedMenu);
    }
};

QJsonObject entry(const QString& id, const QString& title, const QString& command = {},
                  QJsonArray children = {}) {
    QJsonObject o{{"id", id}, {"title", title}};
    if (!command.isEmpty())
        o.insert("command", command);
    if (!children.isEmpty())
        o.insert("children", children);
    return o;
}
QByteArray menuFile(const QJsonArray& items, int version = 1) {
    return QJsonDocument(QJsonObject{{"version", version}, {"items", items}}).toJson();
}

} // namespace

TEST_F(HubMenuFixture, NineModulesInTheDefaultGridShowTwoRowsAndOneOverflowEntry) {
    install(modules(9));
    launch();
    const StatusMenuModel model = hub.platformMenuItems();
    EXPECT_EQ(ids(model), (QStringList{"---", "module-grid", "module-grid-more", "---", "settings",
                                       "user-guide", "quit"}));
    const StatusMenuItem* more = find(model, "module-grid-more");
    EXPECT_EQ(more->title, "Show more");
    ASSERT_EQ(more->children.size(), 1u);
    EXPECT_EQ(more->children[0].title, "Name m8");
    EXPECT_EQ(more->children[0].subtitle, "Summary of m8");
    more->children[0].action();
    ASSERT_EQ(sender.sent.size(), 1);
    EXPECT_EQ(sender.sent[0], (ModuleCommandRef{"m8", "open", std::nullopt}));
    EXPECT_EQ(hub.dynamicInsertAfter(), "module-grid-more");
}

TEST_F(HubMenuFixture, ThreeModulesMakeOneRowOfTheFullGridWidth) {
    install(modules(3));
    launch();
    const StatusMenuModel model = hub.platformMenuItems();
    const StatusMenuItem* grid = find(model, "module-grid");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(find(model, "module-grid-more"), nullptr);
    std::unique_ptr<QWidget> view(grid->makeView(nullptr));
    EXPECT_EQ(view->sizeHint(), QSize(452, 114));
    EXPECT_EQ(view->findChildren<CellButton*>().size(), 3);
}

TEST_F(HubMenuFixture, GridCellClosesTheMenuAndOpensTheModule) {
    install({installedModule("clock", {"show", "alarm", "timer"})});
    launch();
    const StatusMenuModel model = hub.platformMenuItems();
    std::unique_ptr<QWidget> view(find(model, "module-grid")->makeView(nullptr));
    const auto cells = view->findChildren<CellButton*>();
    ASSERT_EQ(cells.size(), 1) << "three entries, one cell";
    EXPECT_EQ(cells[0]->cell().title, "Name clock");
    EXPECT_EQ(cells[0]->cell().subtitle, "Summary of clock");
    EXPECT_EQ(cells[0]->toolTip(), QString::fromUtf8("Name clock — Summary of clock"));
    QMenu shown;
    shown.show();
    hub.menuWillOpen(&shown);
    QTest::mouseClick(cells[0], Qt::LeftButton);
    EXPECT_FALSE(shown.isVisible());
    ASSERT_EQ(sender.sent.size(), 1);
    EXPECT_EQ(sender.sent[0], (ModuleCommandRef{"clock", "open", std::nullopt}));
}

TEST_F(HubMenuFixture, ListPresentationShowsEveryEntryAsTwoLineItem) {
    defaults.set("menuPresentation", "list");
    install({installedModule("clock", {"show", "alarm", "timer"})});
    launch();
    const StatusMenuModel model = hub.platformMenuItems();
    EXPECT_EQ(ids(model),
              (QStringList{"---", "module:clock:show", "module:clock:alarm", "module:clock:timer",
                           "---", "settings", "user-guide", "quit"}));
    EXPECT_EQ(model[2].title, "Name clock");
    EXPECT_EQ(model[2].subtitle, "Label alarm");
    model[2].action();
    EXPECT_EQ(sender.sent.value(0), (ModuleCommandRef{"clock", "alarm", std::nullopt}));
    QMenu menu;
    QtMenuRenderer::render(model, menu);
    EXPECT_EQ(MenuText::fromMenu(menu), MenuText::fromModel(model));
}

TEST_F(HubMenuFixture, QuickAccessGroupsComeFirstInIdOrder) {
    auto b = installedModule("b", {"one", "two"});
    b.module.quickAccessEnabled = true;
    auto a = installedModule("a", {"open"});
    a.module.quickAccessEnabled = true;
    install({b, a, installedModule("c", {"open"})});
    launch();
    EXPECT_EQ(hub.moduleModel().quickAccessModuleIds, (QSet<QString>{"a", "b"}));
    const StatusMenuModel model = hub.platformMenuItems();
    EXPECT_EQ(ids(model).mid(0, 4), (QStringList{"---", "quick:a", "quick:b", "---"}));
    EXPECT_EQ(model[2].children.size(), 2u);
    EXPECT_EQ(model[2].children[1].subtitle, "Label two");
}

TEST_F(HubMenuFixture, RefreshPublishesHostStateWithLanguageAndBase) {
    defaults.set("appLanguage", "fr");
    install({});
    launch();
    EXPECT_EQ(ModuleHostState::language(paths), "fr");
    const auto host = QJsonDocument::fromJson(test::readFile(paths.hostFile())).object();
    EXPECT_EQ(host.value("apiBaseURL").toString(), settings.apiBaseURL());
    EXPECT_EQ(ids(hub.platformMenuItems()), (QStringList{"---", "settings", "user-guide", "quit"}));
}

TEST_F(HubMenuFixture, HostStateFailureIsLoggedAndTheRefreshGoesOn) {
    QDir().mkpath(paths.hostFile()); // a directory where the file should be
    install({installedModule("clock", {"open"})});
    SystemLogCapture log;
    launch();
    ASSERT_FALSE(log.lines().isEmpty());
    EXPECT_TRUE(
        log.lines().first().startsWith(QString::fromUtf8("Ovrel: không ghi được host.json: ")));
    EXPECT_EQ(hub.moduleModel().items.size(), 1);
}

TEST_F(HubMenuFixture, DynamicMenusOfRunningModulesFollowTheModuleSection) {
    install({installedModule("pulse", {"open"}, {}, {"toggle", "pick"})});
    launch();
    QJsonArray children;
    for (int i = 0; i < 12; ++i)
        children.append(entry(QString("c%1").arg(i), QString("Child %1").arg(i), "pick"));
    QJsonArray items{entry("pause", "Pause", "toggle"), entry("sub", "Pick one", {}, children),
                     entry("bad", "Undeclared", "shutdown")};
    for (int i = 0; i < 32; ++i)
        items.append(entry(QString("e%1").arg(i), QString("Entry %1").arg(i), "toggle"));
    publishMenu("pulse", menuFile(items));

    open();
    EXPECT_FALSE(MenuText::fromMenu(renderedMenu).contains("Pause")) << "not running: no section";

    markRunning("pulse");
    SystemLogCapture log;
    open();
    open(); // two openings do not duplicate
    const QString text = MenuText::fromMenu(renderedMenu);
    EXPECT_EQ(text.count("Name pulse (disabled)"), 1);
    EXPECT_EQ(text.count("\nPause\n"), 1);
    EXPECT_FALSE(text.contains("Undeclared"));
    EXPECT_EQ(text.count("  Child "), 10);
    // 30 kept at the top level: header + pause + holder + 27 entries (one undeclared dropped).
    EXPECT_EQ(text.count("Entry "), 27);
    EXPECT_TRUE(log.contains(
        QString::fromUtf8("Ovrel: menu động của module pulse có 35 mục ở cấp 0, cắt còn 30")));

    // The section sits right after the grid, followed by one separator.
    const QStringList lines = text.split('\n');
    const int header = lines.indexOf("Name pulse (disabled)");
    ASSERT_GT(header, 0);
    EXPECT_TRUE(lines[header - 1].startsWith("[view] grid"));

    QAction* pause = QtMenuRenderer::findById(renderedMenu, "dynamic:pulse:pause");
    ASSERT_NE(pause, nullptr);
    pause->trigger();
    ASSERT_EQ(sender.sent.size(), 1);
    EXPECT_EQ(sender.sent[0], (ModuleCommandRef{"pulse", "toggle", QString("pause")}));
}

TEST_F(HubMenuFixture, ModulesChangedRefreshShowsNewModule) {
    install({});
    launch();
    install({installedModule("clock", {"open"})});
    const int before = rebuilds;
    hub.refreshModuleMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rebuilds > before; }, 10000));
    EXPECT_NE(find(hub.platformMenuItems(), "module-grid"), nullptr);
}

TEST(GridIconMetrics, SizesAndZoom) {
    EXPECT_EQ(GridIconMetrics::cellSize(40), QSize(108, 94));
    EXPECT_EQ(GridIconMetrics::gridSize(1, 4), QSize(452, 114));
    EXPECT_EQ(GridIconMetrics::iconSourceRect(QSizeF(160, 80)), QRectF(10, 5, 140, 70));
    QImage source(64, 64, QImage::Format_ARGB32_Premultiplied);
    source.fill(Qt::red);
    // A 4-pixel blue frame lies entirely in the cut margin (1/16 of 64).
    for (int i = 0; i < 64; ++i)
        for (int j = 0; j < 4; ++j) {
            source.setPixelColor(i, j, Qt::blue);
            source.setPixelColor(j, i, Qt::blue);
        }
    const QImage zoomed = GridIconMetrics::zoomed(source);
    EXPECT_EQ(zoomed.size(), QSize(160, 160));
    EXPECT_EQ(zoomed.devicePixelRatio(), 4.0);
    EXPECT_EQ(zoomed.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_TRUE(GridIconMetrics::zoomed(QImage()).isNull());
}

TEST_F(HubMenuFixture, ARepublishedMenuOrAStoppedModuleShowsOnTheNextOpening) {
    install({installedModule("pulse", {"open"}, {}, {"toggle"})});
    launch();
    markRunning("pulse");
    publishMenu("pulse", menuFile({entry("a", "First", "toggle")}));
    open();
    EXPECT_TRUE(MenuText::fromMenu(renderedMenu).contains("First"));
    hub.menuWillOpen(&renderedMenu);
    publishMenu("pulse", menuFile({entry("b", "Second", "toggle")}));
    hub.menuWillOpen(&renderedMenu);
    EXPECT_FALSE(MenuText::fromMenu(renderedMenu).contains("First"));
    EXPECT_TRUE(MenuText::fromMenu(renderedMenu).contains("Second"));
    workspace.running.clear();
    hub.menuWillOpen(&renderedMenu);
    EXPECT_FALSE(MenuText::fromMenu(renderedMenu).contains("Second"));
    EXPECT_FALSE(MenuText::fromMenu(renderedMenu).contains("Name pulse (disabled)"));
}

TEST_F(HubMenuFixture, OneRepublishedSectionKeepsItsPlaceAmongTheOthers) {
    install({installedModule("alpha", {"open"}, {}, {"go"}),
             installedModule("beta", {"open"}, {}, {"go"}),
             installedModule("gamma", {"open"}, {}, {"go"})});
    launch();
    for (const char* id : {"alpha", "beta", "gamma"}) {
        markRunning(id);
        publishMenu(id, menuFile({entry("x", QString("%1 one").arg(id), "go")}));
    }
    open();
    publishMenu("beta", menuFile({entry("x", "beta two", "go"), entry("y", "beta three", "go")}));
    hub.menuWillOpen(&renderedMenu);
    workspace.running.remove("vn.ovrel.module.alpha");
    hub.menuWillOpen(&renderedMenu);
    const QStringList lines = MenuText::fromMenu(renderedMenu).split('\n');
    const int beta = lines.indexOf("Name beta (disabled)");
    ASSERT_GT(beta, 0);
    EXPECT_TRUE(lines[beta - 1].startsWith("[view] grid"));
    EXPECT_EQ(lines.mid(beta, 6), (QStringList{"Name beta (disabled)", "beta two", "beta three",
                                               "Name gamma (disabled)", "gamma one", "---"}));
    EXPECT_FALSE(lines.contains("alpha one"));
    EXPECT_EQ(lines.count("---"), 3) << "opening, module section and one closing separator";
    // Nothing runs any more: the closing separator goes too.
    workspace.running.clear();
    hub.menuWillOpen(&renderedMenu);
    EXPECT_EQ(MenuText::fromMenu(renderedMenu).split('\n').count("---"), 2);
}
