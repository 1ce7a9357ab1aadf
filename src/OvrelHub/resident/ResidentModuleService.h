#pragma once

#include "OvrelHub/modules/ResidentRegistering.h"
#include "OvrelHub/resident/ResidentAgentControlling.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QSet>
#include <QString>

namespace ovrel {

// Registers and unregisters the background agent of one module: the agent
// file "vn.ovrel.module.<id>.plist" in agentsDir, loaded through the control.
// The hub never reads, changes or deletes an agent file of another form.
//
// No lock of its own: the control's tool runs synchronously on the calling
// thread. Callers (the start-up reconciliation, the resident switch, the
// install pipeline) never work on the same module at the same time; a file
// rewrite is atomic. Borrows the control, which must outlive it.
class ResidentModuleService : public ResidentRegistering {
public:
    ResidentModuleService(ModulePaths paths, QString agentsDir, ResidentAgentControlling& control);

    // $XDG_CONFIG_HOME/Ovrel/LaunchAgents
    static QString defaultAgentsDir();

    const ModulePaths& paths() const { return m_paths; }
    const QString& agentsDir() const { return m_agentsDir; }
    ResidentAgentControlling& control() const { return m_control; }

    // Creates or replaces the module's agent for the bundle and loads it;
    // throws ResidentError (or the tool's launch error). A failed load leaves
    // no agent file behind.
    void registerModule(const QString& id, const QString& bundle) override;
    // Unloads the agent, then deletes its file; a failed unload keeps the file.
    void unregisterModule(const QString& id) override;
    bool isRegistered(const QString& id) const;
    // The known ids whose agent is loaded, and every id with an agent file.
    QSet<QString> discoverRegistered(const QSet<QString>& knownIDs) const;

    QString plistFile(const QString& id) const;
    // Hands the existing agent files to a control that loads them itself.
    void loadAgentsAtStart() const;

private:
    QStringList agentFileNames() const;

    ModulePaths m_paths;
    QString m_agentsDir;
    ResidentAgentControlling& m_control;
};

} // namespace ovrel
