// Cost of what the hub does for each running module every time its status
// menu opens: read menu.json of the largest accepted size, decode it, apply
// the limits and filter against the declared commands. Three files of exactly
// 64 KiB: the most entries that are kept, titles far over the length limit,
// and far more entries than are kept.
#include "OvrelModuleKit/menu/DynamicMenuBuilder.h"
#include "OvrelModuleKit/menu/DynamicMenuFile.h"
#include "Platform/files/AtomicFile.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>

using namespace ovrel;

namespace {

const QString kWords = QString::fromUtf8("Thời khoá biểu tuần này ");

DynamicMenuItem entry(const QString& id, const QString& title, bool withCommand) {
    return DynamicMenuItem{
        id,   title, withCommand ? std::optional(QStringLiteral("open-recent")) : std::nullopt,
        true, false, {}};
}

// Pads the encoded items with whitespace to exactly the largest size read;
// empty when they do not fit.
QByteArray padded(const std::vector<DynamicMenuItem>& items) {
    QByteArray bytes = DynamicMenuFile::encode(items);
    if (bytes.size() > DynamicMenuFile::maxFileBytes)
        return {};
    bytes.append(QByteArray(DynamicMenuFile::maxFileBytes - bytes.size(), ' '));
    return bytes;
}

// The largest file that build(n) makes as n grows.
QByteArray largest(const std::function<std::vector<DynamicMenuItem>(int)>& build) {
    QByteArray best;
    for (int n = 1;; ++n) {
        QByteArray bytes = padded(build(n));
        if (bytes.isEmpty())
            return best;
        best = std::move(bytes);
    }
}

// 30 entries of 10 children, titles as long as the size allows.
QByteArray fullMenu() {
    return largest([](int repeat) {
        std::vector<DynamicMenuItem> items;
        for (int i = 0; i < DynamicMenuFile::maxItems; ++i) {
            DynamicMenuItem item = entry(QString::number(i), kWords.repeated(repeat), false);
            for (int c = 0; c < DynamicMenuFile::maxChildren; ++c)
                item.children.push_back(
                    entry(QStringLiteral("%1.%2").arg(i).arg(c), kWords.repeated(repeat), true));
            items.push_back(std::move(item));
        }
        return items;
    });
}

// 30 entries whose titles are cut from over a thousand characters to 100.
QByteArray longTitles() {
    return largest([](int repeat) {
        std::vector<DynamicMenuItem> items;
        for (int i = 0; i < DynamicMenuFile::maxItems; ++i)
            items.push_back(entry(QString::number(i), kWords.repeated(repeat), true));
        return items;
    });
}

// Hundreds of small entries of which 30 are kept (logs one line per read).
QByteArray manyEntries() {
    return largest([](int count) {
        std::vector<DynamicMenuItem> items;
        for (int i = 0; i < count; ++i)
            items.push_back(entry(QString::number(i), QStringLiteral("Mục %1").arg(i), true));
        return items;
    });
}

class MenuOnDisk {
public:
    explicit MenuOnDisk(QByteArray bytes) : m_bytes(std::move(bytes)) {
        AtomicFile::write(DynamicMenuFile::file(m_paths, "clock"), m_bytes);
    }
    const ModulePaths& paths() const { return m_paths; }
    qint64 size() const { return m_bytes.size(); }

private:
    QTemporaryDir m_dir;
    ModulePaths m_paths{m_dir.path()};
    QByteArray m_bytes;
};

const QStringList kDeclared{QStringLiteral("open-recent"), QStringLiteral("toggle")};

void readAndBuildSection(benchmark::State& state, const MenuOnDisk& menu) {
    size_t kept = 0;
    for (auto _ : state) {
        auto section = DynamicMenuBuilder::section(
            QStringLiteral("Clock"), DynamicMenuFile::read(menu.paths(), "clock"), kDeclared, true);
        kept = section ? section->items.size() : 0;
        benchmark::DoNotOptimize(section);
    }
    state.SetBytesProcessed(state.iterations() * menu.size());
    state.counters["entries"] = double(kept);
}

void BM_FullMenu(benchmark::State& state) {
    static const MenuOnDisk menu(fullMenu());
    readAndBuildSection(state, menu);
}
BENCHMARK(BM_FullMenu)->Unit(benchmark::kMicrosecond);

void BM_LongTitles(benchmark::State& state) {
    static const MenuOnDisk menu(longTitles());
    readAndBuildSection(state, menu);
}
BENCHMARK(BM_LongTitles)->Unit(benchmark::kMicrosecond);

void BM_ManyEntries(benchmark::State& state) {
    static const MenuOnDisk menu(manyEntries());
    readAndBuildSection(state, menu);
}
BENCHMARK(BM_ManyEntries)->Unit(benchmark::kMicrosecond);

// The floor: only the JSON parser over the same bytes.
void BM_ManyEntriesJsonParseOnly(benchmark::State& state) {
    static const QByteArray bytes = manyEntries();
    for (auto _ : state) {
        QJsonDocument document = QJsonDocument::fromJson(bytes);
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ManyEntriesJsonParseOnly)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // The cut-list log line of BM_ManyEntries is written on every read; keep
    // it out of the report (the cost of writing it is still measured).
    std::freopen("/dev/null", "w", stderr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
