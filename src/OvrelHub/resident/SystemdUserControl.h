#pragma once

#include "OvrelHub/resident/ResidentAgentControlling.h"
#include "OvrelHub/resident/ResidentAgentFile.h"

#include <QStringList>
#include <optional>

namespace ovrel {

// Background agents as systemd user units. Bootstrapping an agent file turns
// it into <unitDir>/<label>.service (the program as ExecStart,
// Restart=on-failure, RestartSec = the agent's throttle, WantedBy=default.target)
// and runs "systemctl --user daemon-reload" and "enable --now"; bootout runs
// "disable --now" and removes the unit; a unit is loaded while "is-enabled"
// says so. A unit systemd does not know counts as not loaded. A failed call's
// exit status is ResidentError::launchctlFailed's status.
//
// Runs systemctl synchronously on the calling thread; no state of its own
// besides the unit files, so any thread may call it.
class SystemdUserControl : public ResidentAgentControlling {
public:
    struct Options {
        QString systemctl = defaultSystemctl();
        QString unitDir = defaultUnitDir();
        // "NAME=value" lines every unit carries, so the module finds the
        // same folders as the hub.
        QStringList environment = hubEnvironment();
    };

    SystemdUserControl();
    explicit SystemdUserControl(Options options);

    static QString defaultSystemctl();
    static QString defaultUnitDir(); // $XDG_CONFIG_HOME/systemd/user
    // The XDG folder variables this process was given explicitly.
    static QStringList hubEnvironment();

    // Whether a user manager answers and reads its units from unitDir (a hub
    // whose configuration folder differs from the manager's, as in a sandbox,
    // cannot use it). Never throws.
    bool isUsable() const;

    void bootstrap(const QString& plistPath, const QString& label) override;
    void bootout(const QString& label) override;
    bool isLoaded(const QString& label) override;

    QString unitFile(const QString& label) const;
    static QString unitName(const QString& label) { return label + QStringLiteral(".service"); }
    // The unit's text; nothing when an argument or variable cannot be written
    // in a unit file (a line break, another control character).
    static std::optional<QByteArray> unitText(const ResidentAgentFile& agent,
                                              const QStringList& environment);

private:
    int systemctl(const QStringList& arguments) const;
    void removeUnit(const QString& label) const;

    Options m_options;
};

} // namespace ovrel
