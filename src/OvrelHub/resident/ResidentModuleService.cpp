#include "OvrelHub/resident/ResidentModuleService.h"

#include "OvrelHub/resident/ResidentAgentPlan.h"
#include "OvrelHub/resident/ResidentError.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/XdgDirs.h"
#include "Platform/plist/PlistCodec.h"

#include <QDir>
#include <QFile>

namespace ovrel {

ResidentModuleService::ResidentModuleService(ModulePaths paths, QString agentsDir,
                                             ResidentAgentControlling& control)
    : m_paths(std::move(paths)), m_agentsDir(std::move(agentsDir)), m_control(control) {}

QString ResidentModuleService::defaultAgentsDir() {
    return XdgDirs::configHome() + QStringLiteral("/Ovrel/LaunchAgents");
}

QString ResidentModuleService::plistFile(const QString& id) const {
    return QDir(m_agentsDir).filePath(ResidentAgentPlan::plistFileName(id));
}

void ResidentModuleService::registerModule(const QString& id, const QString& bundle) {
    const std::optional<QString> executable = ResidentAgentPlan::executableURL(bundle);
    if (!executable)
        throw ResidentError::noExecutable();
    const QString label = ResidentAgentPlan::label(id);
    const QString file = plistFile(id);
    // Loading again picks up an updated bundle's executable.
    if (m_control.isLoaded(label))
        m_control.bootout(label);
    try {
        AtomicFile::makeDirectories(m_agentsDir);
        AtomicFile::write(file, PlistCodec::toXml(ResidentAgentPlan::plist(
                                    id, *executable, ResidentAgentPlan::kThrottleSeconds)));
    } catch (const FileError&) {
        throw ResidentError::plistWriteFailed();
    }
    try {
        m_control.bootstrap(file, label);
    } catch (...) {
        QFile::remove(file);
        throw;
    }
}

void ResidentModuleService::unregisterModule(const QString& id) {
    m_control.bootout(ResidentAgentPlan::label(id));
    QFile::remove(plistFile(id));
}

bool ResidentModuleService::isRegistered(const QString& id) const {
    return m_control.isLoaded(ResidentAgentPlan::label(id));
}

QStringList ResidentModuleService::agentFileNames() const {
    QStringList names;
    const QStringList entries =
        QDir(m_agentsDir).entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& entry : entries) {
        if (ResidentAgentPlan::idFromPlistFileName(entry))
            names.append(entry);
    }
    return names;
}

QSet<QString> ResidentModuleService::discoverRegistered(const QSet<QString>& knownIDs) const {
    QSet<QString> registered;
    for (const QString& id : knownIDs) {
        // A loaded agent counts even when its file is gone.
        if (m_control.isLoaded(ResidentAgentPlan::label(id)))
            registered.insert(id);
    }
    for (const QString& name : agentFileNames())
        registered.insert(*ResidentAgentPlan::idFromPlistFileName(name));
    return registered;
}

void ResidentModuleService::loadAgentsAtStart() const {
    QStringList files;
    for (const QString& name : agentFileNames())
        files.append(QDir(m_agentsDir).filePath(name));
    m_control.loadAtStart(files);
}

} // namespace ovrel
