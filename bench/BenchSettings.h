#pragma once

// A module manifest that declares the most settings a manifest may (30), of
// all four kinds, and values for every one of them.
#include "OvrelModuleKit/manifest/ModuleManifest.h"
#include "OvrelModuleKit/settings/SettingValue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace ovrel::bench {

inline constexpr int kSettings = 30;

inline ModuleManifest manifestWithThirtySettings() {
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
inline SettingsMap storedValues() {
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

} // namespace ovrel::bench
