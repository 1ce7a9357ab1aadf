#pragma once

#include <QString>

namespace ovrel {

// The per-user directory tree where the hub and its modules meet. Every
// location is derived from the root on each call; nothing touches the disk.
class ModulePaths {
public:
    explicit ModulePaths(QString root);

    // $XDG_DATA_HOME/Ovrel (default ~/.local/share/Ovrel), computed once per process.
    static const ModulePaths& defaultPaths();
    static QString defaultRoot();

    const QString& root() const { return m_root; }

    QString modulesDir() const;
    QString settingsDir() const;
    QString stagingDir() const;
    QString secretsDir() const;
    QString hostFile() const;
    QString stateFile() const;
    QString syncStateFile() const;
    QString inputPassthroughFile() const;

    QString moduleDir(const QString& id) const;
    QString bundle(const QString& id, const QString& appName) const;
    QString inboxFile(const QString& id) const;
    QString dynamicMenuFile(const QString& id) const;
    QString permissionsFile(const QString& id) const;
    QString startupLogFile(const QString& id) const;
    QString settingsFile(const QString& id) const;
    QString secretFile(const QString& name) const;

    // The manifest inside any bundle directory (installed, staged or picked by the user).
    static QString manifestFile(const QString& bundle);

    // 1 to 32 characters, each a-z, 0-9 or "-": safe as a path component, inside
    // notification names and bundle identifiers without escaping.
    static bool isValidModuleId(const QString& id);

    static constexpr int kMaxModuleIdLength = 32;

    bool operator==(const ModulePaths& other) const { return m_root == other.m_root; }

private:
    QString under(const QString& relative) const;
    QString m_root;
};

} // namespace ovrel
