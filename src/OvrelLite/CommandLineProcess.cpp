#include "OvrelLite/CommandLineProcess.h"

#include "OvrelConfig/HubLanguage.h"
#include "OvrelHub/modules/AppModules.h"
#include "OvrelHub/shell/BuildIdentity.h"
#include "OvrelHub/shell/HubSettings.h"
#include "OvrelLite/LiteAppDelegate.h"
#include "OvrelLite/StatusMenuText.h"
#include "Platform/desktop/RunningInstance.h"
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
                    [this] { return menuText(); }} {
        HubSettings* settings = &HubSettings::shared();
        HubLanguage::setProvider([settings] { return settings->appLanguage(); });
    }

    HubCommandContext& context() { return m_context; }

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

int runCommandLineProcess(int& argc, char** argv, const QStringList& arguments,
                          const HubCommandLine::Parsed& parsed) {
    const std::unique_ptr<QCoreApplication> application =
        makeApplication(argc, argv, parsed.command->needsGui);
    nameApplication();
    SystemLog::setEchoToStandardError(false);

    if (parsed.command->runs == HubCommand::Runs::throughHub) {
        const RunningInstance hub(QString::fromLatin1(BuildIdentity::kLiteBundleIdentifier));
        CommandLineOutcome outcome;
        QString error;
        switch (
            hub.runCommandLine(arguments, parsed.invocation.workingDirectory, outcome, &error)) {
        case RunningInstance::CallResult::answered:
            printOutcome(outcome);
            return outcome.status;
        case RunningInstance::CallResult::failed:
            // It may have done the work: running it again here could do it twice.
            printOutcome(CommandLineOutcome::failure(
                ExitStatus::failure,
                QStringLiteral("ovrel-lite: the running hub did not answer: ") + error +
                    QLatin1Char('\n')));
            return ExitStatus::failure;
        case RunningInstance::CallResult::notRunning:
            break;
        }
    }

    LocalCommands local(application.get());
    std::optional<int> status;
    // A command that is done at once answers before the event loop runs.
    HubCommandLine::run(parsed, local.context())
        .then(application.get(), [&status](const CommandLineOutcome& outcome) {
            printOutcome(outcome);
            status = outcome.status;
            QCoreApplication::exit(0);
        });
    if (!status)
        application->exec();
    // A replaced bundle is set aside after the install answered: let that
    // finish; its deletion may go on after this process.
    AppModules::shared().store.finishBeforeExit();
    return status.value_or(ExitStatus::failure);
}

} // namespace ovrel
