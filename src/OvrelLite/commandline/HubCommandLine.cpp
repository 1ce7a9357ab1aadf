#include "OvrelLite/commandline/HubCommandLine.h"

#include "OvrelLite/commandline/HubCommands.h"

#include <QDir>

namespace ovrel {

QString CommandInvocation::absolutePath(const QString& path) const {
    if (QDir::isAbsolutePath(path) || workingDirectory.isEmpty())
        return QDir::cleanPath(QDir(path).absolutePath());
    return QDir::cleanPath(QDir(workingDirectory).absoluteFilePath(path));
}

namespace {

using Parsed = HubCommandLine::Parsed;

Parsed usageError(QString error) {
    Parsed parsed;
    parsed.kind = Parsed::Kind::usageError;
    parsed.error = std::move(error);
    return parsed;
}

Parsed only(Parsed::Kind kind) {
    Parsed parsed;
    parsed.kind = kind;
    return parsed;
}

bool isOption(const QString& argument) {
    return argument.startsWith(QLatin1String("--")) && argument.size() > 2;
}

QString commandUse(const HubCommand& command) {
    return QStringLiteral("--") + command.name +
           (command.synopsis.isEmpty() ? QString() : QLatin1Char(' ') + command.synopsis);
}

std::optional<QString> argumentCountError(const HubCommand& command, qsizetype count) {
    const bool tooFew = count < command.minArguments;
    const bool tooMany = command.maxArguments >= 0 && count > command.maxArguments;
    if (!tooFew && !tooMany)
        return std::nullopt;
    return QStringLiteral("usage: ovrel-lite ") + commandUse(command);
}

// The options of a hub start, by name; none for another name.
bool* hubOption(Parsed& parsed, const QString& name) {
    if (name == QLatin1String("exit-when-ready"))
        return &parsed.exitWhenReady;
    if (name == QLatin1String("exit-when-modules-shown"))
        return &parsed.exitWhenModulesShown;
    if (name == QLatin1String("exit-when-menu-drawn"))
        return &parsed.exitWhenMenuDrawn;
    if (name == QLatin1String("whats-new"))
        return &parsed.whatsNew;
    return nullptr;
}

} // namespace

Parsed HubCommandLine::parse(const QStringList& arguments, const QString& workingDirectory) {
    Parsed parsed;
    parsed.invocation.workingDirectory = workingDirectory;
    const HubCommand* command = nullptr;
    bool settingsPaneFollows = false;
    for (const QString& argument : arguments) {
        if (settingsPaneFollows) {
            parsed.openSettings = argument;
            settingsPaneFollows = false;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return only(Parsed::Kind::help);
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            return only(Parsed::Kind::version);
        if (command && isOption(argument) && command->flags.contains(argument.mid(2))) {
            parsed.invocation.flags.insert(argument.mid(2));
            continue;
        }
        if (isOption(argument)) {
            const QString name = argument.mid(2);
            if (bool* option = hubOption(parsed, name); option && !command) {
                *option = true;
                continue;
            }
            if (name == QLatin1String("open-settings") && !command) {
                settingsPaneFollows = true;
                continue;
            }
            const HubCommand* named = HubCommands::named(name);
            if (!named)
                return usageError(QStringLiteral("unknown option ") + argument);
            if (command)
                return usageError(QStringLiteral("one command at a time: --") + command->name +
                                  QStringLiteral(" and ") + argument);
            if (parsed.exitWhenReady || parsed.exitWhenModulesShown || parsed.exitWhenMenuDrawn ||
                parsed.whatsNew || !parsed.openSettings.isEmpty() || !parsed.urls.isEmpty())
                return usageError(argument + QStringLiteral(" cannot be combined with starting "
                                                            "the hub"));
            command = named;
            continue;
        }
        if (command) {
            parsed.invocation.arguments.append(argument);
            continue;
        }
        const QUrl url(argument, QUrl::StrictMode);
        if (!url.isValid() || url.scheme() != QLatin1String(kUrlScheme))
            return usageError(QStringLiteral("unexpected argument ") + argument);
        parsed.urls.append(url);
    }
    if (settingsPaneFollows)
        return usageError(QStringLiteral("--open-settings needs a pane"));
    if (!command)
        return parsed;
    if (const auto error = argumentCountError(*command, parsed.invocation.arguments.size()))
        return usageError(*error);
    parsed.kind = Parsed::Kind::command;
    parsed.command = command;
    return parsed;
}

QString HubCommandLine::usage() {
    QString text = QStringLiteral(
        "Usage: ovrel-lite [--exit-when-ready] [ovrel-lite:URL...]\n"
        "       ovrel-lite COMMAND\n"
        "Ovrel Lite: the tray hub for Ovrel modules. Without a command it starts the hub,\n"
        "or hands its URLs to the hub that runs. Commands go through the running hub when\n"
        "there is one (its menu follows at once), else they run here.\n\nCommands:\n");
    for (const HubCommand& command : HubCommands::all())
        text += QStringLiteral("  ") + commandUse(command) + QStringLiteral("\n      ") +
                command.summary + QLatin1Char('\n');
    text += QStringLiteral("\nOptions:\n"
                           "  --exit-when-ready  quit once the status menu is ready\n"
                           "  --exit-when-modules-shown  quit once it holds the installed "
                           "modules\n"
                           "  --exit-when-menu-drawn     quit once it was opened and drawn\n"
                           "  --open-settings PANE  open the settings window at general, store, "
                           "permissions, account or module/<id>\n"
                           "  --whats-new        look for a newer Ovrel now and show what is new\n"
                           "  -h, --help         show this text\n"
                           "  -v, --version      show the version\n"
                           "\nExit status: 0 success, 1 the command failed, 2 a wrong command "
                           "line.\n");
    return text;
}

CommandLineOutcome HubCommandLine::usageFailure(const QString& error) {
    return CommandLineOutcome::failure(
        ExitStatus::usage, QStringLiteral("ovrel-lite: ") + error +
                               QStringLiteral("\nTry 'ovrel-lite --help' for more information.\n"));
}

QFuture<CommandLineOutcome> HubCommandLine::run(const Parsed& parsed, HubCommandContext& context) {
    if (parsed.kind != Parsed::Kind::command || !parsed.command || !parsed.command->run)
        return QtFuture::makeReadyFuture(usageFailure(QStringLiteral("no command to run")));
    QFuture<CommandLineOutcome> running;
    try {
        running = parsed.command->run(parsed.invocation, context);
    } catch (const std::exception& e) {
        return QtFuture::makeReadyFuture(CommandLineOutcome::failure(
            ExitStatus::failure,
            QStringLiteral("ovrel-lite: ") + QString::fromUtf8(e.what()) + QLatin1Char('\n')));
    }
    return running.onFailed(context.mainThread, [](const std::exception& e) {
        return CommandLineOutcome::failure(ExitStatus::failure, QStringLiteral("ovrel-lite: ") +
                                                                    QString::fromUtf8(e.what()) +
                                                                    QLatin1Char('\n'));
    });
}

} // namespace ovrel
