// Reading a module's settings file with 30 settings, reconciled with its manifest.
#include "BenchSettings.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ovrel;
using namespace ovrel::bench;

namespace {

void BM_LoadThirtySettings(benchmark::State& state) {
    QTemporaryDir dir;
    const ModuleSettingsStore store{ModulePaths(dir.path())};
    const ModuleManifest manifest = manifestWithThirtySettings();
    store.save(storedValues(), "clock");
    if (store.load("clock", manifest) != storedValues()) {
        state.SkipWithError("stored values did not survive");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(store.load("clock", manifest));
}

} // namespace

BENCHMARK(BM_LoadThirtySettings)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
