#pragma once

#include "OvrelModuleKit/manifest/ManifestError.h"
#include "OvrelModuleKit/manifest/ModuleManifest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>
#include <ostream>

namespace ovrel {

inline void PrintTo(const ManifestError& e, std::ostream* os) {
    *os << e.what();
}

namespace test {

// {"vi": vi, "en": en}
inline QJsonObject texts(const QString& vi, const QString& en) {
    return QJsonObject{{"vi", vi}, {"en", en}};
}

// A manifest with exactly the required keys, valid for the id "clock".
inline QJsonObject minimalManifest() {
    return QJsonObject{{"id", "clock"},
                       {"version", "1.0.0"},
                       {"minHostVersion", "0.1.0"},
                       {"name", texts("Đồng hồ", "Clock")},
                       {"summary", texts("Xem giờ", "Shows the time")},
                       {"menu", QJsonArray{}},
                       {"settings", QJsonArray{}}};
}

inline QByteArray toBytes(const QJsonObject& manifest) {
    return QJsonDocument(manifest).toJson(QJsonDocument::Compact);
}

// The error load() throws, or none when the manifest loads.
inline std::optional<ManifestError> loadError(const QByteArray& bytes,
                                              const QString& expectedId = "clock") {
    try {
        ModuleManifest::load(bytes, expectedId);
    } catch (const ManifestError& e) {
        return e;
    }
    return std::nullopt;
}

inline std::optional<ManifestError> loadError(const QJsonObject& manifest,
                                              const QString& expectedId = "clock") {
    return loadError(toBytes(manifest), expectedId);
}

inline QJsonObject menuEntry(const QString& command, const QJsonObject& label) {
    return QJsonObject{{"command", command}, {"label", label}};
}

inline QJsonObject boolSetting(const QString& key, bool defaultValue = false) {
    return QJsonObject{{"type", "bool"},
                       {"key", key},
                       {"label", texts("Nhãn", "Label")},
                       {"default", defaultValue}};
}

inline QJsonObject intSetting(const QString& key, qint64 defaultValue, qint64 min, qint64 max) {
    return QJsonObject{{"type", "int"},           {"key", key}, {"label", texts("Số", "Number")},
                       {"default", defaultValue}, {"min", min}, {"max", max}};
}

inline QJsonObject enumSetting(const QString& key, const QString& defaultValue,
                               const QStringList& values) {
    QJsonArray options;
    for (const QString& v : values)
        options.append(QJsonObject{{"value", v}, {"label", texts(v, v)}});
    return QJsonObject{{"type", "enum"},
                       {"key", key},
                       {"label", texts("Chọn", "Choice")},
                       {"default", defaultValue},
                       {"options", options}};
}

inline QJsonObject stringSetting(const QString& key, const QString& defaultValue,
                                 qint64 maxLength) {
    return QJsonObject{{"type", "string"},
                       {"key", key},
                       {"label", texts("Chữ", "Text")},
                       {"default", defaultValue},
                       {"maxLength", maxLength}};
}

// A clock manifest with one setting of each kind; the string setting
// allows `formatMaxLength` characters.
inline ModuleManifest clockSettingsManifest(qint64 formatMaxLength) {
    QJsonObject j = minimalManifest();
    j["settings"] = QJsonArray{boolSetting("seconds", true), intSetting("size", 12, 8, 72),
                               enumSetting("style", "digital", {"analog", "digital"}),
                               stringSetting("format", "HH:mm", formatMaxLength)};
    return ModuleManifest::load(toBytes(j), "clock");
}

} // namespace test
} // namespace ovrel
