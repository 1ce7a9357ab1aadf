#pragma once

#include <QString>
#include <stdexcept>

namespace ovrel {

// Why the program could not be registered to start at login.
class LoginItemError : public std::runtime_error {
public:
    explicit LoginItemError(const QString& reason)
        : std::runtime_error(reason.toStdString()), m_reason(reason) {}
    const QString& description() const { return m_reason; }

private:
    QString m_reason;
};

// Whether the desktop starts the hub when the user logs in. Read anew on
// every call: the user may change it outside the hub. Main thread.
class LoginItem {
public:
    virtual ~LoginItem() = default;
    virtual bool isEnabled() const = 0;
    // Throws LoginItemError; nothing changes then.
    virtual void setEnabled(bool enabled) = 0;
};

// The XDG autostart entry $XDG_CONFIG_HOME/autostart/<desktopId>.desktop,
// starting the given program. Present and not "Hidden=true" means enabled
// (the XDG autostart rule); switching off removes the file.
class XdgAutostartLoginItem : public LoginItem {
public:
    XdgAutostartLoginItem(QString desktopId, QString name, QString program);

    // The hub's entry "vn.ovrel.lite" for the running program.
    static XdgAutostartLoginItem& shared();

    QString entryPath() const;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;

    // The desktop-entry text for a program path, quoted as the Exec key needs.
    static QByteArray entryText(const QString& name, const QString& program);

private:
    QString m_desktopId;
    QString m_name;
    QString m_program;
};

} // namespace ovrel
