// Cost of listing the installed modules with their manifests, which every
// menu rebuild, settings reload and resident reconciliation asks for.

#include "OvrelHub/modules/InstalledModules.h"
#include "OvrelHub/signature/ModuleSignatureVerifier.h"
#include "OvrelHub/store/ModuleStore.h"
#include "Platform/plist/PlistCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <stdexcept>

using namespace ovrel;

namespace {

constexpr int kModules = 30;

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QJsonObject texts(const QString& vi, const QString& en) {
    return QJsonObject{{"vi", vi}, {"en", en}};
}

// A manifest of everyday size: two commands, three settings in one group.
QByteArray manifest(const QString& id) {
    const QJsonArray menu{
        QJsonObject{{"command", "open"}, {"label", texts("Mở", "Open")}},
        QJsonObject{{"command", "reset"}, {"label", texts("Đặt lại", "Reset")}},
    };
    const QJsonArray settings{
        QJsonObject{{"type", "bool"},
                    {"key", "sound"},
                    {"label", texts("Âm thanh", "Sound")},
                    {"default", true},
                    {"group", "main"}},
        QJsonObject{{"type", "int"},
                    {"key", "volume"},
                    {"label", texts("Âm lượng", "Volume")},
                    {"default", 5},
                    {"min", 0},
                    {"max", 10},
                    {"group", "main"}},
        QJsonObject{{"type", "string"},
                    {"key", "label"},
                    {"label", texts("Nhãn", "Label")},
                    {"default", ""},
                    {"maxLength", 40},
                    {"group", "main"}},
    };
    const QJsonObject object{
        {"id", id},
        {"version", "1.4.2"},
        {"minHostVersion", "0.1.0"},
        {"name", texts("Mô-đun " + id, "Module " + id)},
        {"summary", texts("Một mô-đun mẫu", "A sample module")},
        {"menu", menu},
        {"settings", settings},
        {"settingGroups",
         QJsonArray{QJsonObject{{"id", "main"}, {"label", texts("Chung", "General")}}}},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// 30 installed modules: a bundle each (Info.plist, program, manifest) and the
// state file naming them.
struct InstalledSet {
    InstalledSet() {
        ModulesState modules;
        for (int i = 0; i < kModules; ++i) {
            const QString id = QStringLiteral("module-%1").arg(i, 2, 10, QLatin1Char('0'));
            const QString appName = QStringLiteral("Module %1.app").arg(i);
            const QString bundle = paths.bundle(id, appName);
            write(bundle + "/Contents/Info.plist",
                  PlistCodec::toXml(QVariantMap{{"CFBundleIdentifier", "vn.ovrel.module." + id},
                                                {"CFBundleExecutable", id}}));
            write(bundle + "/Contents/MacOS/" + id, QByteArray(64 * 1024, 'x'));
            write(ModulePaths::manifestFile(bundle), manifest(id));
            InstalledModule entry;
            entry.id = id;
            entry.version = "1.4.2";
            entry.appName = appName;
            modules.installed.emplace(id, entry);
        }
        state.save(modules);
    }

    QTemporaryDir dir;
    ModulePaths paths{dir.filePath("Ovrel")};
    ModuleStateStore state{paths};
};

void checkAll(const QList<InstalledPair>& pairs) {
    if (pairs.size() != kModules)
        throw std::runtime_error("not every module was listed");
}

void BM_InstalledManifests(benchmark::State& state) {
    InstalledSet set;
    const InstalledModules installed(set.state);
    checkAll(installed.installedManifests());
    for (auto _ : state)
        benchmark::DoNotOptimize(installed.installedManifests());
}
BENCHMARK(BM_InstalledManifests)->Unit(benchmark::kMicrosecond);

// The same through the store's worker thread, as the hub asks for it.
void BM_InstalledManifestsThroughStore(benchmark::State& state) {
    InstalledSet set;
    const ModuleSignatureVerifier verifier;
    ModuleStore store(
        {.state = set.state, .verifier = verifier, .workspace = DesktopWorkspace::shared()});
    checkAll(store.installedManifests().result());
    for (auto _ : state)
        benchmark::DoNotOptimize(store.installedManifests().result());
}
BENCHMARK(BM_InstalledManifestsThroughStore)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
