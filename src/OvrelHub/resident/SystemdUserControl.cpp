#include "OvrelHub/resident/SystemdUserControl.h"

#include "OvrelHub/resident/ResidentError.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/XdgDirs.h"
#include "Platform/process/ToolProcess.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace ovrel {

namespace {

bool hasControlCharacter(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

// A double-quoted word of a unit file: "\" and quote escaped, "%" doubled
// (specifiers) and, in command lines, "$" doubled (variable expansion).
QString quoted(QString text, bool inCommandLine) {
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    text.replace(u'%', QStringLiteral("%%"));
    if (inCommandLine)
        text.replace(u'$', QStringLiteral("$$"));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

constexpr const char* kXdgVariables[] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME",
                                         "XDG_CACHE_HOME"};

} // namespace

SystemdUserControl::SystemdUserControl() : SystemdUserControl(Options{}) {}

SystemdUserControl::SystemdUserControl(Options options) : m_options(std::move(options)) {}

QString SystemdUserControl::defaultSystemctl() {
    const QString found = QStandardPaths::findExecutable(QStringLiteral("systemctl"));
    return found.isEmpty() ? QStringLiteral("/usr/bin/systemctl") : found;
}

QString SystemdUserControl::defaultUnitDir() {
    return XdgDirs::configHome() + QStringLiteral("/systemd/user");
}

QStringList SystemdUserControl::hubEnvironment() {
    QStringList environment;
    for (const char* name : kXdgVariables) {
        const QString value = qEnvironmentVariable(name);
        if (value.startsWith(u'/'))
            environment.append(QLatin1String(name) + QLatin1Char('=') + value);
    }
    return environment;
}

std::optional<QByteArray> SystemdUserControl::unitText(const ResidentAgentFile& agent,
                                                       const QStringList& environment) {
    QStringList command;
    for (const QString& argument : agent.programArguments) {
        if (hasControlCharacter(argument))
            return std::nullopt;
        command.append(quoted(argument, true));
    }
    if (hasControlCharacter(agent.label))
        return std::nullopt;
    QString text = QStringLiteral("[Unit]\nDescription=Ovrel background module %1\n\n[Service]\n")
                       .arg(QString(agent.label).replace(u'%', QStringLiteral("%%")));
    for (const QString& variable : environment) {
        if (hasControlCharacter(variable) || !variable.contains(u'='))
            return std::nullopt;
        text += QStringLiteral("Environment=") + quoted(variable, false) + QLatin1Char('\n');
    }
    text += QStringLiteral("ExecStart=") + command.join(QLatin1Char(' ')) + QLatin1Char('\n');
    text +=
        QStringLiteral("Restart=on-failure\nRestartSec=%1\n\n[Install]\nWantedBy=default.target\n")
            .arg(agent.throttleSeconds);
    return text.toUtf8();
}

QString SystemdUserControl::unitFile(const QString& label) const {
    return QDir(m_options.unitDir).filePath(unitName(label));
}

int SystemdUserControl::systemctl(const QStringList& arguments) const {
    return ToolProcess::run(m_options.systemctl, QStringList{QStringLiteral("--user")} + arguments);
}

bool SystemdUserControl::isUsable() const {
    ToolProcess::Result answer;
    try {
        answer = ToolProcess::runCapturingOutput(
            m_options.systemctl, {QStringLiteral("--user"), QStringLiteral("show-environment")});
    } catch (const ToolProcess::LaunchError&) {
        return false;
    }
    if (answer.status != 0)
        return false;
    // The manager reads units from its own $XDG_CONFIG_HOME/systemd/user.
    QString home;
    QString configHome;
    for (const QByteArray& line : answer.output.split('\n')) {
        if (line.startsWith("HOME="))
            home = QString::fromUtf8(line.mid(5));
        else if (line.startsWith("XDG_CONFIG_HOME="))
            configHome = QString::fromUtf8(line.mid(16));
    }
    if (!configHome.startsWith(u'/'))
        configHome = home.isEmpty() ? QString() : home + QStringLiteral("/.config");
    if (configHome.isEmpty())
        return false;
    return QDir::cleanPath(configHome + QStringLiteral("/systemd/user")) ==
           QDir::cleanPath(m_options.unitDir);
}

void SystemdUserControl::bootstrap(const QString& plistPath, const QString& label) {
    const std::optional<ResidentAgentFile> agent = ResidentAgentFile::read(plistPath);
    const std::optional<QByteArray> text =
        agent ? unitText(*agent, m_options.environment) : std::nullopt;
    if (!text)
        throw ResidentError::plistWriteFailed();
    try {
        AtomicFile::write(unitFile(label), *text);
    } catch (const FileError&) {
        throw ResidentError::plistWriteFailed();
    }
    int status = systemctl({QStringLiteral("daemon-reload")});
    if (status == 0)
        status = systemctl({QStringLiteral("enable"), QStringLiteral("--now"), unitName(label)});
    if (status != 0) {
        // No half-registered unit stays behind.
        removeUnit(label);
        throw ResidentError::launchctlFailed(status);
    }
}

void SystemdUserControl::bootout(const QString& label) {
    if (!QFile::exists(unitFile(label)) && !isLoaded(label))
        return; // not loaded: nothing to undo
    const int status =
        systemctl({QStringLiteral("disable"), QStringLiteral("--now"), unitName(label)});
    if (status != 0)
        throw ResidentError::launchctlFailed(status);
    removeUnit(label);
}

void SystemdUserControl::removeUnit(const QString& label) const {
    QFile::remove(unitFile(label));
    try {
        systemctl({QStringLiteral("daemon-reload")});
    } catch (const ToolProcess::LaunchError&) {
        // The unit file is gone; systemd forgets it at its next reload.
    }
}

bool SystemdUserControl::isLoaded(const QString& label) {
    try {
        return systemctl(
                   {QStringLiteral("is-enabled"), QStringLiteral("--quiet"), unitName(label)}) == 0;
    } catch (const ToolProcess::LaunchError&) {
        return false;
    }
}

} // namespace ovrel
