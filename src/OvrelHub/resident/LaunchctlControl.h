#pragma once

#include "OvrelHub/resident/ResidentAgentControlling.h"

#include <QStringList>

namespace ovrel {

// launchd through its tool: "bootstrap gui/<uid> <plist>", "bootout
// gui/<uid>/<label>" (status 3, not loaded, counts as done) and "print
// gui/<uid>/<label>". Runs the tool synchronously on the calling thread.
class LaunchctlControl : public ResidentAgentControlling {
public:
    explicit LaunchctlControl(QString launchctl = QStringLiteral("/bin/launchctl"));

    const QString& launchctl() const { return m_launchctl; }

    // The tool's exit status; throws ToolProcess::LaunchError unchanged when
    // it cannot be started.
    int run(const QStringList& arguments) const;

    void bootstrap(const QString& plistPath, const QString& label) override;
    void bootout(const QString& label) override;
    bool isLoaded(const QString& label) override;

    // "gui/" and the real user id of this process.
    static QString domain();

private:
    QString m_launchctl;
};

} // namespace ovrel
