#pragma once

#include <QString>

namespace ovrel {

// How background agents are loaded and unloaded, so another mechanism than
// launchd can take its place (systemd on Linux, or the hub itself).
class ResidentAgentControlling {
public:
    virtual ~ResidentAgentControlling() = default;

    // Loads the agent described by the property list at plistPath; throws
    // ResidentError (or the error of a tool that could not be started).
    virtual void bootstrap(const QString& plistPath, const QString& label) = 0;
    // Unloads the agent; an agent that is not loaded is no error. Throws as
    // bootstrap.
    virtual void bootout(const QString& label) = 0;
    // Whether the agent is loaded now; never throws.
    virtual bool isLoaded(const QString& label) = 0;

    // launchd and systemd load the agents of a user at login by themselves;
    // a control that does not (the hub's own fallback) loads the agent files
    // it is given here, once, when the hub starts.
    virtual void loadAtStart(const QStringList& plistPaths) { (void)plistPaths; }
    // True when agents run only while the hub runs (the fallback).
    virtual bool runsOnlyWithHub() const { return false; }
};

} // namespace ovrel
