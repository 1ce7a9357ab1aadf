#include "OvrelModuleKit/launch/ModulePrivateState.h"

#include "Platform/files/FileError.h"

#include <QVariantList>

namespace ovrel {

namespace {

QVariant toStored(const QString& value) {
    return value;
}
QVariant toStored(double value) {
    return value;
}
QVariant toStored(const QByteArray& value) {
    return value;
}
QVariant toStored(const QStringList& value) {
    QVariantList list;
    list.reserve(value.size());
    for (const QString& item : value)
        list.append(item);
    return list;
}

std::optional<QStringList> stringsOf(const std::optional<QVariantList>& list) {
    if (!list)
        return std::nullopt;
    QStringList strings;
    strings.reserve(list->size());
    for (const QVariant& item : *list) {
        if (item.metaType().id() != QMetaType::QString)
            return std::nullopt;
        strings.append(item.toString());
    }
    return strings;
}

} // namespace

ModulePrivateState::ModulePrivateState(QString moduleId, std::shared_ptr<UserDefaults> defaults,
                                       std::optional<QString> extraLegacyKey)
    : m_moduleId(std::move(moduleId)), m_defaults(std::move(defaults)),
      m_extraLegacyKey(std::move(extraLegacyKey)) {}

std::shared_ptr<UserDefaults> ModulePrivateState::moduleDefaults(const QString& moduleId) {
    return std::make_shared<UserDefaults>(QStringLiteral("vn.ovrel.module.") + moduleId);
}

QString ModulePrivateState::namespacedKey(const QString& key) const {
    return m_moduleId + QLatin1Char('.') + key;
}

template <typename T, typename Reader>
std::optional<T> ModulePrivateState::readThrough(const QString& key, Reader read) const {
    const QString namespaced = namespacedKey(key);
    if (m_defaults->contains(namespaced))
        return read(namespaced);
    QStringList legacyKeys;
    if (m_extraLegacyKey)
        legacyKeys.append(*m_extraLegacyKey);
    legacyKeys.append(key);
    for (const QString& legacy : legacyKeys) {
        if (!m_defaults->contains(legacy))
            continue;
        // The first old key that exists decides, whether or not it reads as T.
        std::optional<T> value = read(legacy);
        if (value) {
            try {
                m_defaults->set(namespaced, toStored(*value));
            } catch (const FileError&) {
                // The value is still good; the copy is retried on the next read.
            }
        }
        return value;
    }
    return std::nullopt;
}

std::optional<QString> ModulePrivateState::string(const QString& key) const {
    return readThrough<QString>(key, [this](const QString& k) { return m_defaults->string(k); });
}

double ModulePrivateState::doubleValue(const QString& key) const {
    // Like the platform's numeric read: a value that is no number reads as 0.
    return readThrough<double>(key,
                               [this](const QString& k) {
                                   return std::optional<double>(m_defaults->real(k).value_or(0.0));
                               })
        .value_or(0.0);
}

std::optional<QByteArray> ModulePrivateState::data(const QString& key) const {
    return readThrough<QByteArray>(key, [this](const QString& k) { return m_defaults->data(k); });
}

std::optional<QStringList> ModulePrivateState::stringArray(const QString& key) const {
    return readThrough<QStringList>(
        key, [this](const QString& k) { return stringsOf(m_defaults->array(k)); });
}

bool ModulePrivateState::store(const QString& key, const QVariant& value) {
    try {
        m_defaults->set(namespacedKey(key), value);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

bool ModulePrivateState::removeEverywhere(const QString& key) {
    try {
        m_defaults->remove(namespacedKey(key));
        if (m_extraLegacyKey)
            m_defaults->remove(*m_extraLegacyKey);
        m_defaults->remove(key);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

bool ModulePrivateState::setString(const std::optional<QString>& value, const QString& key) {
    return value ? store(key, toStored(*value)) : removeEverywhere(key);
}

bool ModulePrivateState::setDouble(double value, const QString& key) {
    return store(key, toStored(value));
}

bool ModulePrivateState::setData(const std::optional<QByteArray>& value, const QString& key) {
    return value ? store(key, toStored(*value)) : removeEverywhere(key);
}

bool ModulePrivateState::setStringArray(const std::optional<QStringList>& value,
                                        const QString& key) {
    return value ? store(key, toStored(*value)) : removeEverywhere(key);
}

} // namespace ovrel
