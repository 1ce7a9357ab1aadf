// Loading the largest manifest the limits allow: every list at its maximum
// length and every text, in all seven languages, at its maximum length.
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "OvrelModuleKit/text/LocalizedText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <benchmark/benchmark.h>

using namespace ovrel;

namespace {

// `length` user-perceived characters made of `unit` repeated.
QJsonObject allLanguages(const QString& unit, qint64 length) {
    QJsonObject texts;
    for (const QString& code : LocalizedText::supportedCodes())
        texts[code] = unit.repeated(length);
    return texts;
}

QByteArray largestManifest(const QString& unit) {
    const auto label = [&] { return allLanguages(unit, ModuleManifest::kMaxLabelLength); };
    QJsonObject m{{"id", "clock"},
                  {"version", "1.2.3"},
                  {"minHostVersion", "1.0.0"},
                  {"name", label()},
                  {"summary", allLanguages(unit, ModuleManifest::kMaxSummaryLength)},
                  {"description", allLanguages(unit, ModuleManifest::kMaxDescriptionLength)},
                  {"mode", "resident"},
                  {"quickAccessDefault", true},
                  {"openWindowOnLaunch", true},
                  {"minMacOS", "14.5.1"},
                  {"permissions", QJsonArray{"screenRecording", "accessibility", "inputMonitoring",
                                             "fullDiskAccess"}}};
    QJsonArray screenshots;
    for (int i = 0; i < ModuleManifest::kMaxScreenshots; ++i)
        screenshots.append(QString("https://ovrel.vn/screenshots/clock/%1.png").arg(i));
    m["screenshots"] = screenshots;
    QJsonArray menu;
    for (int i = 0; i < ModuleManifest::kMaxMenuEntries; ++i)
        menu.append(QJsonObject{{"command", QString("command%1").arg(i)},
                                {"label", label()},
                                {"hotkeyDefault", "⌃⌥⌘K"}});
    m["menu"] = menu;
    QJsonArray groups;
    for (int i = 0; i < ModuleManifest::kMaxSettingGroups; ++i)
        groups.append(QJsonObject{{"id", QString("group%1").arg(i)}, {"label", label()}});
    m["settingGroups"] = groups;
    QJsonArray settings;
    for (int i = 0; i < ModuleManifest::kMaxSettings; ++i) {
        QJsonObject s{{"key", QString("setting%1").arg(i)},
                      {"label", label()},
                      {"group", QString("group%1").arg(i % ModuleManifest::kMaxSettingGroups)}};
        switch (i % 4) {
        case 0:
            s["type"] = "bool";
            s["default"] = true;
            break;
        case 1:
            s["type"] = "int";
            s["default"] = 5;
            s["min"] = -1000;
            s["max"] = 1000;
            break;
        case 2: {
            s["type"] = "enum";
            QJsonArray options;
            for (int o = 0; o < 5; ++o)
                options.append(
                    QJsonObject{{"value", QString("option%1").arg(o)}, {"label", label()}});
            s["options"] = options;
            s["default"] = "option4";
            break;
        }
        default:
            s["type"] = "string";
            s["default"] = unit.repeated(ModuleManifest::kMaxLabelLength);
            s["maxLength"] = ModuleManifest::kMaxLabelLength;
        }
        settings.append(s);
    }
    m["settings"] = settings;
    QJsonArray dynamic;
    for (int i = 0; i < ModuleManifest::kMaxDynamicCommands; ++i)
        dynamic.append(QString("dynamic%1").arg(i));
    m["dynamicCommands"] = dynamic;
    return QJsonDocument(m).toJson(QJsonDocument::Indented);
}

void loadLargest(benchmark::State& state, const QString& unit) {
    const QByteArray bytes = largestManifest(unit);
    ModuleManifest::load(bytes, "clock"); // throws if the fixture broke a limit
    for (auto _ : state)
        benchmark::DoNotOptimize(ModuleManifest::load(bytes, "clock"));
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

// Plain ASCII: one byte per character.
void BM_LoadLargestManifestAscii(benchmark::State& state) {
    loadLargest(state, "a");
}
// Vietnamese as normally written (precomposed "ệ"): three bytes per character.
void BM_LoadLargestManifestVietnamese(benchmark::State& state) {
    loadLargest(state, QString::fromUtf8("\u1EC7"));
}
// Worst case: decomposed diacritics (e + two combining marks, five bytes per
// character), so every text is longer than its limit in code units and its
// characters have to be counted.
void BM_LoadLargestManifestDecomposed(benchmark::State& state) {
    loadLargest(state, QString::fromUtf8("e\u0323\u0302"));
}
// A typical small manifest.
void BM_LoadSmallManifest(benchmark::State& state) {
    const QByteArray bytes = R"({"id":"clock","version":"1.0.0","minHostVersion":"0.1.0",
        "name":{"vi":"Đồng hồ","en":"Clock"},"summary":{"vi":"Xem giờ","en":"Shows the time"},
        "menu":[{"command":"open","label":{"vi":"Mở","en":"Open"},"hotkeyDefault":"⌘⇧T"}],
        "settings":[{"type":"bool","key":"seconds","label":{"vi":"Giây","en":"Seconds"},"default":true},
                    {"type":"int","key":"size","label":{"vi":"Cỡ","en":"Size"},"default":12,"min":8,"max":72}]})";
    for (auto _ : state)
        benchmark::DoNotOptimize(ModuleManifest::load(bytes, "clock"));
}

} // namespace

BENCHMARK(BM_LoadLargestManifestAscii)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadLargestManifestVietnamese)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadLargestManifestDecomposed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadSmallManifest)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
