#pragma once

#include "Platform/plist/UserDefaults.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace ovrel {

// A module's own persistent values, kept in a user-defaults domain under
// keys namespaced as moduleId + "." + key. Values that older versions stored
// without the prefix (under the bare key, or under one extra legacy key) are
// still found: the first read copies them to the namespaced key and leaves the
// old entry in place.
class ModulePrivateState {
public:
    ModulePrivateState(QString moduleId, std::shared_ptr<UserDefaults> defaults,
                       std::optional<QString> extraLegacyKey = std::nullopt);

    // The module's own domain "vn.ovrel.module.<id>" in the default directory.
    static std::shared_ptr<UserDefaults> moduleDefaults(const QString& moduleId);

    const QString& moduleId() const { return m_moduleId; }
    UserDefaults& defaults() const { return *m_defaults; }
    const std::optional<QString>& extraLegacyKey() const { return m_extraLegacyKey; }
    QString namespacedKey(const QString& key) const;

    std::optional<QString> string(const QString& key) const;
    double doubleValue(const QString& key) const; // 0 when absent or not a number
    std::optional<QByteArray> data(const QString& key) const;
    std::optional<QStringList> stringArray(const QString& key) const;

    // Writes go to the namespaced key. Setting none removes the value, old
    // entries included, so it cannot come back through the legacy read.
    // False when the store could not be written.
    bool setString(const std::optional<QString>& value, const QString& key);
    bool setDouble(double value, const QString& key);
    bool setData(const std::optional<QByteArray>& value, const QString& key);
    bool setStringArray(const std::optional<QStringList>& value, const QString& key);

private:
    template <typename T, typename Reader>
    std::optional<T> readThrough(const QString& key, Reader read) const;
    bool store(const QString& key, const QVariant& value);
    bool removeEverywhere(const QString& key);

    QString m_moduleId;
    std::shared_ptr<UserDefaults> m_defaults;
    std::optional<QString> m_extraLegacyKey;
};

} // namespace ovrel
