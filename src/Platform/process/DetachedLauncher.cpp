#include "Platform/process/DetachedLauncher.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace ovrel::DetachedLauncher {

namespace {

// Tokens that let the desktop move focus to the window of whoever was started
// with them: they are spent by the caller and mean nothing to its children.
constexpr QByteArrayView kCallerOnlyVariables[] = {"DESKTOP_STARTUP_ID=", "XDG_ACTIVATION_TOKEN="};

// Messages from the two children, each one write() of a whole struct (well
// below PIPE_BUF, so never split).
struct Report {
    enum : int { started, forkFailed, execFailed } kind;
    int value; // the program's pid, or errno
};

// Everything the children use is made before forking: after fork() in a
// threaded process only async-signal-safe calls are allowed.
struct Plan {
    QByteArray path;
    std::vector<QByteArray> argumentBytes;
    std::vector<QByteArray> environmentBytes;
    std::vector<char*> argv;
    std::vector<char*> envp;
    int descriptorLimit = 1024;
};

Plan makePlan(const QString& executable, const QStringList& arguments,
              const QStringList& extraEnvironment = {}) {
    Plan plan;
    QList<QByteArray> extra;
    for (const QString& variable : extraEnvironment)
        extra.append(variable.toLocal8Bit());
    plan.path = QFile::encodeName(executable);
    plan.argumentBytes.push_back(plan.path);
    for (const QString& argument : arguments)
        plan.argumentBytes.push_back(argument.toLocal8Bit());
    for (char** entry = environ; entry && *entry; ++entry) {
        const QByteArrayView variable(*entry);
        bool callerOnly = false;
        for (const QByteArrayView prefix : kCallerOnlyVariables)
            callerOnly = callerOnly || variable.startsWith(prefix);
        for (const QByteArray& given : extra)
            callerOnly = callerOnly || variable.startsWith(given.left(given.indexOf('=') + 1));
        if (!callerOnly)
            plan.environmentBytes.emplace_back(variable.toByteArray());
    }
    for (const QByteArray& given : extra)
        plan.environmentBytes.push_back(given);
    for (QByteArray& bytes : plan.argumentBytes)
        plan.argv.push_back(bytes.data());
    plan.argv.push_back(nullptr);
    for (QByteArray& bytes : plan.environmentBytes)
        plan.envp.push_back(bytes.data());
    plan.envp.push_back(nullptr);
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        plan.descriptorLimit = static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 1 << 20));
    return plan;
}

void report(int fd, decltype(Report::kind) kind, int value) {
    const Report message{kind, value};
    [[maybe_unused]] const ssize_t written = ::write(fd, &message, sizeof message);
}

void closeFrom(int first, int limit) {
    if (::close_range(static_cast<unsigned>(first), ~0U, 0) == 0)
        return;
    for (int fd = first; fd < limit; ++fd)
        ::close(fd);
}

// The grandchild: becomes the program. Async-signal-safe calls only.
[[noreturn]] void becomeProgram(const Plan& plan, int reportFd) {
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        ::sigaction(signal, &byDefault, nullptr);

    // Keep the report channel above the standard descriptors, then at 3.
    const int channel = ::fcntl(reportFd, F_DUPFD_CLOEXEC, 3);
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (channel < 0 || null < 0) {
        report(channel < 0 ? reportFd : channel, Report::execFailed, errno);
        ::_exit(127);
    }
    for (int fd = 0; fd <= 2; ++fd)
        ::dup2(null, fd);
    if (channel != 3)
        ::dup3(channel, 3, O_CLOEXEC);
    closeFrom(4, plan.descriptorLimit);
    if (::chdir("/") != 0) {
        report(3, Report::execFailed, errno);
        ::_exit(127);
    }
    ::execve(plan.path.constData(), plan.argv.data(), plan.envp.data());
    report(3, Report::execFailed, errno);
    ::_exit(127);
}

// The intermediate child: leaves the caller's session, forks the program and
// exits at once, so the program is orphaned.
[[noreturn]] void detach(const Plan& plan, int reportFd) {
    ::setsid();
    const pid_t program = ::fork();
    if (program < 0) {
        report(reportFd, Report::forkFailed, errno);
        ::_exit(1);
    }
    if (program == 0)
        becomeProgram(plan, reportFd);
    report(reportFd, Report::started, static_cast<int>(program));
    ::_exit(0);
}

// Reads the children's reports until the channel closes.
void readReports(int fd, Outcome& outcome) {
    Report message{};
    size_t filled = 0;
    for (;;) {
        const ssize_t n =
            ::read(fd, reinterpret_cast<char*>(&message) + filled, sizeof message - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        filled += static_cast<size_t>(n);
        if (filled < sizeof message)
            continue;
        filled = 0;
        if (message.kind == Report::started)
            outcome.pid = message.value;
        else
            outcome.error = message.value ? message.value : ECHILD;
    }
}

// Forks a child that runs `child(plan, reportFd)` and never returns; the
// caller's side gets the child's pid and the reading end of the report
// channel, or the errno of the failed step.
template <class ChildBody> Outcome forkReporting(const Plan& plan, ChildBody child, int& reports) {
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return {0, errno};
    const pid_t pid = ::fork();
    if (pid < 0) {
        const int error = errno;
        ::close(channel[0]);
        ::close(channel[1]);
        return {0, error};
    }
    if (pid == 0) {
        ::close(channel[0]);
        child(plan, channel[1]);
    }
    ::close(channel[1]);
    reports = channel[0];
    return {pid, 0};
}

void reap(pid_t pid) {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

Outcome launch(const QString& executable, const QStringList& arguments) {
    int reports = -1;
    const Outcome intermediate = forkReporting(makePlan(executable, arguments), detach, reports);
    if (!intermediate.started())
        return intermediate;
    reap(pid_t(intermediate.pid));

    // The channel closes when the program has been executed (close-on-exec)
    // or has given up after reporting why.
    Outcome outcome;
    readReports(reports, outcome);
    ::close(reports);
    if (outcome.error == 0 && outcome.pid <= 0)
        outcome.error = ECHILD; // the intermediate child died before reporting
    return outcome;
}

Outcome launchChild(const QString& executable, const QStringList& arguments,
                    const QStringList& extraEnvironment) {
    int reports = -1;
    const auto inOwnSession = [](const Plan& plan, int reportFd) {
        ::setsid();
        becomeProgram(plan, reportFd);
    };
    Outcome outcome =
        forkReporting(makePlan(executable, arguments, extraEnvironment), inOwnSession, reports);
    if (!outcome.started())
        return outcome;
    readReports(reports, outcome);
    ::close(reports);
    if (outcome.error != 0) {
        // The child gave up before executing the program: reap it.
        reap(pid_t(outcome.pid));
        outcome.pid = 0;
    }
    return outcome;
}

} // namespace ovrel::DetachedLauncher
