// Opening a module's pane in the settings window: a manifest with 30 settings
// (the most a manifest may declare), values stored for every one, turned into
// the form's controls and laid out. Target: under 50 ms.
#include "BenchSettings.h"
#include "OvrelHub/settings/ModuleSettingsForm.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ovrel;
using namespace ovrel::bench;

namespace {

void BM_BuildThirtySettingForm(benchmark::State& state) {
    QTemporaryDir dir;
    const ModuleSettingsStore store{ModulePaths(dir.path())};
    const ModuleManifest manifest = manifestWithThirtySettings();
    store.save(storedValues(), "clock");
    for (auto _ : state) {
        ModuleSettingsForm form("clock", manifest, AppLanguage::en, store, {});
        form.resize(form.sizeHint()); // the layout runs as it does when shown
        form.ensurePolished();
        benchmark::DoNotOptimize(form.sizeHint());
        if (form.values().size() != kSettings) {
            state.SkipWithError("the form lost settings");
            return;
        }
    }
}

} // namespace

BENCHMARK(BM_BuildThirtySettingForm)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
