// Cost of reading the sealed resource list of a large bundle: 2000 files,
// about 300 kB of CodeResources, read on every signature check.
//   valgrind --tool=callgrind --toggle-collect='ovrel::ResourceSeal::parse*'
//       build/bench/bench_resource_seal --benchmark_min_time=0.01   (one command)

#include "Platform/codesign/ResourceSeal.h"
#include "Platform/crypto/Crypto.h"

#include <benchmark/benchmark.h>

using namespace ovrel;

namespace {

QByteArray largeSeal() {
    ResourceSeal::Items items;
    for (int i = 0; i < 2000; ++i) {
        ResourceSeal::Item item;
        item.hash = Crypto::randomBytes(32);
        items.insert(QStringLiteral("Resources/data/chunk-%1.bin").arg(i, 4, 10, QLatin1Char('0')),
                     item);
    }
    ResourceSeal::Item link;
    link.isSymlink = true;
    link.symlinkTarget = QStringLiteral("data/chunk-0000.bin");
    items.insert(QStringLiteral("Resources/current"), link);
    return ResourceSeal::fromItems(std::move(items)).toPlist();
}

void BM_ParseLargeSeal(benchmark::State& state) {
    const QByteArray plist = largeSeal();
    for (auto _ : state) {
        auto seal = ResourceSeal::parse(plist);
        if (!seal || seal->items().size() != 2001)
            state.SkipWithError("the seal did not read back");
        benchmark::DoNotOptimize(seal);
    }
    state.SetBytesProcessed(state.iterations() * plist.size());
}
BENCHMARK(BM_ParseLargeSeal)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
