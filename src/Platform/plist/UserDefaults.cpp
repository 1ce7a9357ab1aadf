#include "Platform/plist/UserDefaults.h"

#include "Platform/files/AtomicFile.h"
#include "Platform/files/XdgDirs.h"
#include "Platform/plist/PlistCodec.h"

#include <QFile>
#include <cmath>
#include <sys/stat.h>

namespace ovrel {

namespace {
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
}

UserDefaults::UserDefaults(QString domain, QString directory)
    : m_domain(std::move(domain)),
      m_path(directory + QLatin1Char('/') + m_domain + QStringLiteral(".plist")) {}

UserDefaults& UserDefaults::standard() {
    static UserDefaults instance(QString::fromLatin1(kHubDomain));
    return instance;
}

QString UserDefaults::defaultDirectory() {
    return XdgDirs::configHome() + QStringLiteral("/Ovrel");
}

UserDefaults::Stamp UserDefaults::statFile() const {
    struct stat st {};
    if (::stat(QFile::encodeName(m_path).constData(), &st) != 0)
        return Stamp{};
    return Stamp{static_cast<qint64>(st.st_size),
                 static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec,
                 static_cast<quint64>(st.st_ino)};
}

const QVariantMap& UserDefaults::load() const {
    const Stamp now = statFile();
    if (m_stamp && *m_stamp == now)
        return m_values;
    m_values.clear();
    m_stamp = now;
    if (now.size <= 0 || now.size > kMaxFileBytes)
        return m_values;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return m_values;
    const auto parsed = PlistCodec::parse(file.readAll());
    if (parsed && parsed->metaType().id() == QMetaType::QVariantMap)
        m_values = parsed->toMap();
    return m_values;
}

void UserDefaults::store(QVariantMap values) {
    AtomicFile::write(m_path, PlistCodec::toXml(values));
    // Read back on the next access so values carry the types a reader of the
    // file sees (an int stored comes back as a 64-bit integer).
    m_stamp.reset();
}

std::optional<QVariant> UserDefaults::object(const QString& key) const {
    std::lock_guard lock(m_mutex);
    const QVariantMap& values = load();
    const auto it = values.constFind(key);
    if (it == values.cend())
        return std::nullopt;
    return *it;
}

QVariantMap UserDefaults::dictionaryRepresentation() const {
    std::lock_guard lock(m_mutex);
    return load();
}

std::optional<bool> UserDefaults::boolValue(const QString& key) const {
    const auto v = object(key);
    if (!v)
        return std::nullopt;
    switch (v->metaType().id()) {
    case QMetaType::Bool:
        return v->toBool();
    case QMetaType::LongLong:
        return v->toLongLong() != 0;
    case QMetaType::Double:
        return v->toDouble() != 0.0;
    case QMetaType::QString: {
        const QString s = v->toString().trimmed().toLower();
        if (s == QLatin1String("true") || s == QLatin1String("yes") || s == QLatin1String("1"))
            return true;
        if (s == QLatin1String("false") || s == QLatin1String("no") || s == QLatin1String("0"))
            return false;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<qint64> UserDefaults::integer(const QString& key) const {
    const auto v = object(key);
    if (!v)
        return std::nullopt;
    switch (v->metaType().id()) {
    case QMetaType::Bool:
        return v->toBool() ? 1 : 0;
    case QMetaType::LongLong:
        return v->toLongLong();
    case QMetaType::Double: {
        const double d = v->toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e18)
            return static_cast<qint64>(d);
        return std::nullopt;
    }
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = v->toString().trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(n) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> UserDefaults::real(const QString& key) const {
    const auto v = object(key);
    if (!v)
        return std::nullopt;
    switch (v->metaType().id()) {
    case QMetaType::LongLong:
        return static_cast<double>(v->toLongLong());
    case QMetaType::Double:
        return v->toDouble();
    case QMetaType::QString: {
        bool ok = false;
        const double d = v->toString().trimmed().toDouble(&ok);
        return ok ? std::optional<double>(d) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QString> UserDefaults::string(const QString& key) const {
    const auto v = object(key);
    if (!v || v->metaType().id() != QMetaType::QString)
        return std::nullopt;
    return v->toString();
}

std::optional<QByteArray> UserDefaults::data(const QString& key) const {
    const auto v = object(key);
    if (!v || v->metaType().id() != QMetaType::QByteArray)
        return std::nullopt;
    return v->toByteArray();
}

std::optional<QVariantList> UserDefaults::array(const QString& key) const {
    const auto v = object(key);
    if (!v || v->metaType().id() != QMetaType::QVariantList)
        return std::nullopt;
    return v->toList();
}

std::optional<QVariantMap> UserDefaults::dictionary(const QString& key) const {
    const auto v = object(key);
    if (!v || v->metaType().id() != QMetaType::QVariantMap)
        return std::nullopt;
    return v->toMap();
}

void UserDefaults::set(const QString& key, const QVariant& value) {
    std::lock_guard lock(m_mutex);
    QVariantMap values = load();
    values.insert(key, value);
    store(std::move(values));
}

void UserDefaults::setValues(const QVariantMap& newValues) {
    std::lock_guard lock(m_mutex);
    QVariantMap values = load();
    for (auto it = newValues.cbegin(); it != newValues.cend(); ++it)
        values.insert(it.key(), it.value());
    store(std::move(values));
}

void UserDefaults::remove(const QString& key) {
    std::lock_guard lock(m_mutex);
    QVariantMap values = load();
    if (!values.contains(key))
        return;
    values.remove(key);
    store(std::move(values));
}

} // namespace ovrel
