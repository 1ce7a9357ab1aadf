// Cost of the health call of one background module (memory and processor
// time), which the module pane and `ovrel-lite --list` make per resident
// module: one pass over /proc to find its instances, then a few small files.

#include "OvrelHub/resident/ResidentUsage.h"
#include "Platform/bundle/BundleLocator.h"
#include "Platform/process/DetachedLauncher.h"
#include "Platform/process/ProcessExitWaiter.h"
#include "Platform/process/ProcessUsage.h"
#include "Platform/process/Workspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <stdexcept>
#include <unistd.h>

using namespace ovrel;

namespace {

// A "module" that is /bin/sleep copied into a bundle, running for the benchmark.
struct RunningModule {
    QTemporaryDir root;
    qint64 pid = 0;

    RunningModule() {
        const QString macos = root.filePath("Modules/pulse/Pulse.app/Contents/MacOS");
        QDir().mkpath(macos);
        if (!QFile::copy("/bin/sleep", macos + "/Pulse"))
            throw std::runtime_error("cannot copy /bin/sleep");
        const auto outcome = DetachedLauncher::launchChild(macos + "/Pulse", {"600"});
        if (!outcome.started())
            throw std::runtime_error("cannot start the module");
        pid = outcome.pid;
    }
    ~RunningModule() { ProcessExitWaiter::end(pid, true, std::chrono::milliseconds(1000)); }
};

void BM_HealthOfOneModule(benchmark::State& state) {
    RunningModule module;
    DesktopWorkspace workspace(moduleBundleLocator(module.root.filePath("Modules")));
    for (auto _ : state) {
        const auto usage = ResidentUsage::read(workspace, "pulse");
        if (!usage)
            state.SkipWithError("the module was not found");
        benchmark::DoNotOptimize(usage);
    }
}
BENCHMARK(BM_HealthOfOneModule)->Unit(benchmark::kMicrosecond);

void BM_UsageOfAKnownProcess(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ProcessUsage::read(::getpid(), "vn.ovrel.module.pulse.service"));
}
BENCHMARK(BM_UsageOfAKnownProcess)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
