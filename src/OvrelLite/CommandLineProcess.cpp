#include "OvrelLite/CommandLineProcess.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelHub/modules/AppModules.h"
#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelHub/shell/PendingResults.h"
#include "OvrelLite/LiteAppDelegate.h"
#include "OvrelLite/ProgressLine.h"
#include "OvrelLite/StatusMenuText.h"
#include "Platform/desktop/CommandLineCall.h"
#include "Platform/process/Workspace.h"
#include "Platform/system/SystemLog.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>

namespace ovrel {

namespace {

void writeTo(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// The module services of this process, for a command that runs without a hub.
class LocalCommands {
public:
    explicit LocalCommands(QObject* mainThread)
        : m_modules(AppModules::shared()),
          // Nothing here can show an alert: the command prints why it refused.
          m_runner(m_modules.paths, m_modules.state, m_modules.verifier, DesktopWorkspace::shared(),
                   ModuleRunner::Hooks{{}, [](const BlockedLaunchAlert::Texts&) {}, {}}),
          m_context{m_modules.store,
                    m_modules.state,
                    m_runner,
                    DesktopWorkspace::shared(),
                    mainThread,
                    [] { return HubLanguage::current(); },
                    {},
                    [this] { return menuText(); },
                    &m_modules.catalog,
                    &m_results},
          m_results(mainThread) {
        HubSettings* settings = &HubSettings::shared();
        HubLanguage::setProvider([settings] { return settings->appLanguage(); });
    }

    HubCommandContext& context() { return m_context; }
    // Before the process tears down: no worker result is delivered any more.
    void finish() { m_results.finish(); }

private:
    // The same menu the hub would build, from a hub controller that never shows it.
    QFuture<QString> menuText() {
        if (!m_delegate) {
            m_delegate = std::make_unique<LiteAppDelegate>(HubController::Collaborators{
                HubSettings::shared(), DesktopWorkspace::shared(), m_modules.paths,
                &m_modules.state, [this] { return m_modules.store.installedManifests(); },
                [this]() -> ModuleCommandSending* { return &m_runner; }});
            m_delegate->applicationWillFinishLaunching();
        }
        return statusMenuText(*m_delegate);
    }

    AppModules& m_modules;
    ModuleRunner m_runner;
    HubCommandContext m_context;
    PendingResults m_results;
    std::unique_ptr<LiteAppDelegate> m_delegate;
};

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv, bool needsGui) {
    if (!needsGui)
        return std::make_unique<QCoreApplication>(argc, argv);
    // Only text comes out: no display is needed, none is touched.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Ovrel Lite"));
    QCoreApplication::setApplicationVersion(QStringLiteral(OVREL_HUB_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(BuildIdentity::kLiteBundleIdentifier));
    BuildIdentity::setBundleIdentifier(QString::fromLatin1(BuildIdentity::kLiteBundleIdentifier));
}

void printOutcome(const CommandLineOutcome& outcome) {
    if (!outcome.output.isEmpty())
        writeTo(stdout, outcome.output);
    if (!outcome.errors.isEmpty())
        writeTo(stderr, outcome.errors);
}

namespace {

// Hands the command line to the running hub and shows its progress here.
// Returns nothing when no hub runs: nothing was run.
std::optional<int> runThroughHub(QCoreApplication& application, const QStringList& arguments,
                                 const HubCommandLine::Parsed& parsed, ProgressLine& line) {
    CommandLineCall call(QString::fromLatin1(BuildIdentity::kLiteBundleIdentifier));
    std::optional<int> status; // none: no hub ran it
    bool answered = false;
    call.start(
        arguments, parsed.invocation.workingDirectory,
        [&line](const CommandLineProgress& progress) { line.show(progress); },
        [&](CommandLineCall::Result result, const CommandLineOutcome& outcome,
            const QString& error) {
            line.finish();
            answered = true;
            switch (result) {
            case CommandLineCall::Result::answered:
                printOutcome(outcome);
                status = outcome.status;
                break;
            case CommandLineCall::Result::failed:
                // It may have done the work: running it again here could do it twice.
                printOutcome(CommandLineOutcome::failure(
                    ExitStatus::failure,
                    QStringLiteral("ovrel-lite: the running hub did not answer: ") + error +
                        QLatin1Char('\n')));
                status = ExitStatus::failure;
                break;
            case CommandLineCall::Result::notRunning:
                break;
            }
            QCoreApplication::exit(0);
        });
    // Without a hub the call is over at once, before the event loop runs.
    if (!answered)
        application.exec();
    return status;
}

} // namespace

int runCommandLineProcess(int& argc, char** argv, const QStringList& arguments,
                          const HubCommandLine::Parsed& parsed) {
    const std::unique_ptr<QCoreApplication> application =
        makeApplication(argc, argv, parsed.command->needsGui);
    nameApplication();
    SystemLog::setEchoToStandardError(false);
    ProgressLine line = ProgressLine::standardError();

    if (parsed.command->runs == HubCommand::Runs::throughHub) {
        if (const std::optional<int> status = runThroughHub(*application, arguments, parsed, line))
            return *status;
    }

    LocalCommands local(application.get());
    HubCommandLine::Parsed here = parsed;
    here.invocation.progress = [&line](const CommandLineProgress& progress) {
        line.show(progress);
    };
    std::optional<int> status;
    HubCommandLine::run(here, local.context())
        .then(application.get(), [&status, &line](const CommandLineOutcome& outcome) {
            line.finish();
            printOutcome(outcome);
            status = outcome.status;
            QCoreApplication::exit(0);
        });
    // A command that is done at once answers before the event loop runs.
    if (!status)
        application->exec();
    local.finish();
    // A replaced bundle is set aside after the install answered: let that
    // finish; its deletion may go on after this process.
    AppModules::shared().store.finishBeforeExit();
    return status.value_or(ExitStatus::failure);
}

} // namespace ovrel
