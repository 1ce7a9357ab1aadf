// Cost of the status menu with 30 installed modules, each running and
// publishing 30 dynamic entries with children: one opening (re-reading and
// re-inserting every published menu) and one full rebuild (model to Qt menu).
#include "OvrelHub/menu/ModuleMenuBuilder.h"
#include "OvrelHub/shell/HubController.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelModuleKit/menu/DynamicMenuFile.h"
#include "Platform/bundle/BundleLocator.h"
#include "Platform/process/Workspace.h"
#include "Platform/tray/QtMenuRenderer.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ovrel;

namespace {

constexpr int kModules = 30;
constexpr int kEntries = 30;

// Every module runs: the benchmark measures the menu work, not process lookup.
class AllRunningWorkspace : public Workspace {
public:
    bool openURL(const QUrl&) override { return true; }
    void revealInFileViewer(const QString&) override {}
    std::optional<QString> applicationPath(const QString&) override { return std::nullopt; }
    RunningApplications runningApplications(const QString&) override { return {}; }
    QSet<QString> runningBundleIdentifiers(const QStringList& ids) override {
        return QSet<QString>(ids.cbegin(), ids.cend());
    }
    void openApplication(const QString&, bool, OpenApplicationCompletion) override {}
};

struct Scene {
    QTemporaryDir dir;
    ModulePaths paths{dir.path()};
    UserDefaults defaults{QStringLiteral("vn.ovrel.lite"), dir.path()};
    HubSettings settings{defaults, NotificationCenter::defaultCenter(),
                         [] { return AppLanguage::en; }};
    AllRunningWorkspace workspace;
    HubController hub{nullptr, nullptr, nullptr,
                      HubController::Collaborators{settings, workspace, paths, nullptr, {}, {}}};
    QList<InstalledPair> pairs;

    Scene() {
        for (int m = 0; m < kModules; ++m) {
            const QString id = QStringLiteral("module-%1").arg(m, 2, 10, QLatin1Char('0'));
            const QJsonObject json{
                {"id", id},
                {"version", "1.0.0"},
                {"minHostVersion", "0.1.0"},
                {"name", QJsonObject{{"vi", "Mô-đun " + id}, {"en", "Module " + id}}},
                {"summary", QJsonObject{{"vi", "Tóm tắt"}, {"en", "Summary"}}},
                {"menu",
                 QJsonArray{QJsonObject{{"command", "open"},
                                        {"label", QJsonObject{{"vi", "Mở"}, {"en", "Open"}}}}}},
                {"settings", QJsonArray{}},
                {"dynamicCommands", QJsonArray{"pick", "toggle"}}};
            InstalledModule module;
            module.id = id;
            module.version = "1.0.0";
            module.appName = "M.app";
            pairs.append(
                InstalledPair{module, ModuleManifest::load(QJsonDocument(json).toJson(), id)});

            std::vector<DynamicMenuItem> items;
            for (int e = 0; e < kEntries; ++e) {
                DynamicMenuItem item{QStringLiteral("e%1").arg(e),
                                     QStringLiteral("Entry number %1").arg(e),
                                     QStringLiteral("toggle"),
                                     true,
                                     e % 2 == 0,
                                     {}};
                if (e % 3 == 0)
                    for (int c = 0; c < 10; ++c)
                        item.children.push_back(DynamicMenuItem{QStringLiteral("c%1").arg(c),
                                                                QStringLiteral("Child %1").arg(c),
                                                                QStringLiteral("pick"),
                                                                true,
                                                                false,
                                                                {}});
                items.push_back(item);
            }
            DynamicMenuFile::write(items, paths, id);
        }
        ModuleMenuModel model;
        model.items = ModuleMenuBuilder::items(pairs, AppLanguage::en, paths);
        model.dynamicMenuSources = pairs;
        hub.setModuleModel(model);
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_MenuOpening(benchmark::State& state) {
    Scene& s = scene();
    QMenu menu;
    QtMenuRenderer::render(s.hub.platformMenuItems(), menu);
    for (auto _ : state) {
        s.hub.menuWillOpen(&menu);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    state.counters["actions"] = static_cast<double>(menu.actions().size());
}
BENCHMARK(BM_MenuOpening)->Unit(benchmark::kMillisecond);

// The worst opening: one module republished its menu, so every section is
// read, filtered and inserted again.
void BM_MenuOpeningAfterChange(benchmark::State& state) {
    Scene& s = scene();
    QMenu menu;
    QtMenuRenderer::render(s.hub.platformMenuItems(), menu);
    const QString file = s.paths.dynamicMenuFile(s.pairs.first().module.id);
    for (auto _ : state) {
        state.PauseTiming();
        QFile touched(file);
        touched.open(QIODevice::ReadWrite | QIODevice::Append);
        touched.write(" ");
        touched.close();
        state.ResumeTiming();
        s.hub.menuWillOpen(&menu);
    }
}
BENCHMARK(BM_MenuOpeningAfterChange)->Unit(benchmark::kMillisecond);

void BM_FullRebuild(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        auto* menu = new QMenu;
        QtMenuRenderer::render(s.hub.platformMenuItems(), *menu);
        benchmark::DoNotOptimize(menu);
        delete menu;
    }
}
BENCHMARK(BM_FullRebuild)->Unit(benchmark::kMillisecond);

// The real process lookup for 30 modules: one pass over /proc.
void BM_RunningLookup(benchmark::State& state) {
    Scene& s = scene();
    DesktopWorkspace workspace(moduleBundleLocator(s.paths.modulesDir()));
    QStringList ids;
    for (const auto& pair : s.pairs)
        ids.append(QString::fromLatin1(kModuleBundleIdentifierPrefix) + pair.module.id);
    for (auto _ : state)
        benchmark::DoNotOptimize(workspace.runningBundleIdentifiers(ids));
}
BENCHMARK(BM_RunningLookup)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
