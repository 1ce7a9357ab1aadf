#pragma once

#include "OvrelLite/commandline/HubCommandContext.h"
#include "Platform/desktop/CommandLineOutcome.h"
#include "Platform/desktop/CommandLineProgress.h"

#include <QFuture>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace ovrel {

// Exit statuses of every command.
namespace ExitStatus {
constexpr int success = 0;
constexpr int failure = 1; // the command ran and failed
constexpr int usage = 2;   // the command line itself is wrong
} // namespace ExitStatus

// One use of a command: what followed its option.
struct CommandInvocation {
    QStringList arguments; // the positional arguments, in order
    QSet<QString> flags;   // the flags given, without dashes
    QString workingDirectory;
    // Where a long command reports how far it has come: the caller's
    // terminal, directly or across the bus; empty when nobody listens.
    CommandLineProgressSink progress;

    // A path given on the command line, relative to the caller's directory.
    QString absolutePath(const QString& path) const;
};

// One command of the command line, "--name ARGUMENTS...". A command is added
// by writing its declaration and listing it in HubCommands.
struct HubCommand {
    enum class Runs {
        throughHub,       // in the running hub when there is one, else in the caller
        inCallingProcess, // always where it was typed
    };
    using Run = std::function<QFuture<CommandLineOutcome>(const CommandInvocation& invocation,
                                                          HubCommandContext& context)>;

    QString name;     // the option without its dashes
    QString synopsis; // its arguments for the usage text, e.g. "ID [--keep-settings]"
    QString summary;  // one line for the usage text
    int minArguments = 0;
    int maxArguments = 0; // -1: no limit
    QStringList flags;    // flags it accepts, without dashes
    Runs runs = Runs::throughHub;
    // Run in the caller, it needs a GUI application object (offscreen).
    bool needsGui = false;
    Run run;
};

} // namespace ovrel
