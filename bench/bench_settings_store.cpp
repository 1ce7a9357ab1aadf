// Reading a module's settings file with 30 settings, reconciled with its manifest.
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ovrel;

namespace {

constexpr int kSettings = 30;

ModuleManifest manifestWithThirtySettings() {
    const QJsonObject label{{"vi", "Nhãn"}, {"en", "Label"}};
    QJsonArray settings;
    for (int i = 0; i < kSettings; ++i) {
        QJsonObject s{{"key", QString("setting%1").arg(i)}, {"label", label}};
        switch (i % 4) {
        case 0:
            s["type"] = "bool";
            s["default"] = false;
            break;
        case 1:
            s["type"] = "int";
            s["default"] = 0;
            s["min"] = 0;
            s["max"] = 100000;
            break;
        case 2:
            s["type"] = "enum";
            s["default"] = "a";
            s["options"] = QJsonArray{QJsonObject{{"value", "a"}, {"label", label}},
                                      QJsonObject{{"value", "b"}, {"label", label}},
                                      QJsonObject{{"value", "c"}, {"label", label}}};
            break;
        default:
            s["type"] = "string";
            s["default"] = "";
            s["maxLength"] = 200;
        }
        settings.append(s);
    }
    const QJsonObject m{{"id", "clock"},       {"version", "1.0.0"}, {"minHostVersion", "0.1.0"},
                        {"name", label},       {"summary", label},   {"menu", QJsonArray{}},
                        {"settings", settings}};
    return ModuleManifest::load(QJsonDocument(m).toJson(), "clock");
}

// Every setting holds a non-default value that fits.
SettingsMap storedValues() {
    SettingsMap values;
    for (int i = 0; i < kSettings; ++i) {
        const QString key = QString("setting%1").arg(i);
        switch (i % 4) {
        case 0:
            values.insert(key, SettingValue::fromBool(true));
            break;
        case 1:
            values.insert(key, SettingValue::fromInt(1000 + i));
            break;
        case 2:
            values.insert(key, SettingValue::fromString("c"));
            break;
        default:
            values.insert(
                key, SettingValue::fromString(QString::fromUtf8("Giá trị cấu hình số %1").arg(i)));
        }
    }
    return values;
}

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
