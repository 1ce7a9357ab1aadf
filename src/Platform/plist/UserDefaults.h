#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>
#include <mutex>
#include <optional>

namespace ovrel {

// Typed preferences of one domain, kept as an XML property list in
// $XDG_CONFIG_HOME/Ovrel/<domain>.plist. The file is the truth: a read reparses it
// whenever it changed on disk (another process may have written it), and every
// write replaces it atomically. A missing or unreadable file reads as empty.
class UserDefaults {
public:
    explicit UserDefaults(QString domain, QString directory = defaultDirectory());

    // The hub's own domain "vn.ovrel.lite" in the default directory.
    static UserDefaults& standard();
    static QString defaultDirectory();
    static constexpr const char* kHubDomain = "vn.ovrel.lite";

    const QString& domain() const { return m_domain; }
    QString filePath() const { return m_path; }

    std::optional<QVariant> object(const QString& key) const;
    bool contains(const QString& key) const { return object(key).has_value(); }

    // Typed reads: a value of another type converts only where the conversion is
    // exact ("12" reads as the integer 12, 1.0 as 1); anything else is absent.
    std::optional<bool> boolValue(const QString& key) const;
    std::optional<qint64> integer(const QString& key) const;
    std::optional<double> real(const QString& key) const;
    std::optional<QString> string(const QString& key) const;
    std::optional<QByteArray> data(const QString& key) const;
    std::optional<QVariantList> array(const QString& key) const;
    std::optional<QVariantMap> dictionary(const QString& key) const;
    QVariantMap dictionaryRepresentation() const;

    // Writes throw FileError when the file cannot be replaced; the value is then
    // not stored.
    void set(const QString& key, const QVariant& value);
    void setValues(const QVariantMap& values); // several keys in one write
    void remove(const QString& key);

private:
    struct Stamp {
        qint64 size = -1;
        qint64 mtimeNs = 0;
        quint64 inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp statFile() const;
    const QVariantMap& load() const; // requires m_mutex
    void store(QVariantMap values);  // requires m_mutex

    QString m_domain;
    QString m_path;
    mutable std::mutex m_mutex;
    mutable QVariantMap m_values;
    mutable std::optional<Stamp> m_stamp;
};

} // namespace ovrel
