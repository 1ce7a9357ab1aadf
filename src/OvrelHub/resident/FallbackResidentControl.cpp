#include "OvrelHub/resident/FallbackResidentControl.h"

#include "OvrelHub/resident/ResidentAgentPlan.h"
#include "OvrelHub/resident/ResidentError.h"
#include "Platform/process/DetachedLauncher.h"
#include "Platform/process/ProcessExitWaiter.h"
#include "Platform/process/Workspace.h"
#include "Platform/system/SystemLog.h"

#include <QFileInfo>
#include <atomic>
#include <cstring>
#include <thread>

namespace ovrel {

namespace {
constexpr std::chrono::milliseconds kEndGrace{2000};

QString idOf(const QString& label) {
    return label.startsWith(QLatin1String(ResidentAgentPlan::kLabelPrefix))
               ? label.mid(int(std::strlen(ResidentAgentPlan::kLabelPrefix)))
               : label;
}
} // namespace

struct FallbackResidentControl::Agent {
    ResidentAgentFile file;
    ProcessExitWaiter waiter;
    std::thread thread;
    std::atomic<qint64> pid{0};
    std::atomic<bool> pidIsChild{false};
};

FallbackResidentControl::FallbackResidentControl() : FallbackResidentControl(Options{}) {}

FallbackResidentControl::FallbackResidentControl(Options options) : m_options(std::move(options)) {}

FallbackResidentControl::~FallbackResidentControl() {
    std::map<QString, std::shared_ptr<Agent>> agents;
    {
        const std::lock_guard guard(m_lock);
        agents.swap(m_agents);
    }
    for (auto& [label, agent] : agents)
        stop(agent, false);
}

void FallbackResidentControl::bootstrap(const QString& plistPath, const QString& label) {
    std::optional<ResidentAgentFile> file = ResidentAgentFile::read(plistPath);
    if (!file)
        throw ResidentError::plistWriteFailed();
    if (isLoaded(label))
        bootout(label);
    auto agent = std::make_shared<Agent>();
    agent->file = std::move(*file);
    agent->file.label = label;
    if (m_options.workspace) {
        const RunningApplications running = m_options.workspace->runningApplications(label);
        if (!running.isEmpty())
            agent->pid = running.first()->pid();
    }
    {
        const std::lock_guard guard(m_lock);
        m_agents[label] = agent;
    }
    agent->thread = std::thread([this, agent] { supervise(agent); });
}

void FallbackResidentControl::supervise(const std::shared_ptr<Agent>& agent) const {
    const QString id = idOf(agent->file.label);
    const std::chrono::seconds throttle(agent->file.throttleSeconds);
    std::optional<std::chrono::steady_clock::time_point> lastStart;
    for (;;) {
        if (agent->pid == 0) {
            if (lastStart) {
                const auto due = *lastStart + throttle - m_options.now();
                if (!agent->waiter.sleepFor(
                        std::chrono::duration_cast<std::chrono::milliseconds>(due)))
                    return;
            }
            if (!agent->waiter.sleepFor(std::chrono::milliseconds(0)))
                return;
            const QStringList& arguments = agent->file.programArguments;
            const auto outcome = DetachedLauncher::launchChild(arguments.first(), arguments.mid(1),
                                                               m_options.extraEnvironment);
            lastStart = m_options.now();
            if (!outcome.started()) {
                SystemLog::write(QStringLiteral("Ovrel: không khởi động được module chạy nền ") +
                                 id + QStringLiteral(": ") +
                                 QString::fromLocal8Bit(std::strerror(outcome.error)));
                continue;
            }
            agent->pidIsChild = true;
            agent->pid = outcome.pid;
            if (m_options.started)
                m_options.started(agent->file.label);
        }
        const std::optional<ProcessExitWaiter::Exit> exit =
            agent->waiter.wait(agent->pid, agent->pidIsChild);
        if (!exit)
            return; // stopped; stop() ends the program if asked to
        agent->pid = 0;
        agent->pidIsChild = false;
        if (exit->successful) {
            SystemLog::write(QStringLiteral("Ovrel: module ") + id +
                             QStringLiteral(" đã thoát bình thường — không khởi động lại"));
            return;
        }
        SystemLog::write(QStringLiteral("Ovrel: module ") + id + QStringLiteral(" đã thoát (") +
                         exit->description +
                         QStringLiteral(") — hub khởi động lại sau tối thiểu %1 giây")
                             .arg(agent->file.throttleSeconds));
    }
}

void FallbackResidentControl::stop(const std::shared_ptr<Agent>& agent, bool endProgram) {
    agent->waiter.interrupt();
    if (agent->thread.joinable())
        agent->thread.join();
    if (endProgram && agent->pid != 0)
        ProcessExitWaiter::end(agent->pid, agent->pidIsChild, kEndGrace);
}

void FallbackResidentControl::bootout(const QString& label) {
    std::shared_ptr<Agent> agent;
    {
        const std::lock_guard guard(m_lock);
        const auto found = m_agents.find(label);
        if (found == m_agents.end())
            return;
        agent = found->second;
        m_agents.erase(found);
    }
    stop(agent, true);
}

bool FallbackResidentControl::isLoaded(const QString& label) {
    const std::lock_guard guard(m_lock);
    return m_agents.count(label) == 1;
}

std::optional<qint64> FallbackResidentControl::runningPid(const QString& label) const {
    const std::lock_guard guard(m_lock);
    const auto found = m_agents.find(label);
    if (found == m_agents.end() || found->second->pid == 0)
        return std::nullopt;
    return found->second->pid.load();
}

void FallbackResidentControl::loadAtStart(const QStringList& plistPaths) {
    for (const QString& path : plistPaths) {
        // The label is the file's name; one inside that says otherwise is not ours.
        const QString label = QFileInfo(path).completeBaseName();
        const std::optional<ResidentAgentFile> file = ResidentAgentFile::read(path);
        if (!file || file->label != label || isLoaded(label))
            continue;
        try {
            bootstrap(path, label);
        } catch (const ResidentError&) {
            // An unusable file is left for the reconciliation to replace.
        }
    }
}

} // namespace ovrel
