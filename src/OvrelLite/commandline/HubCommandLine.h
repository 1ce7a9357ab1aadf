#pragma once

#include "OvrelLite/commandline/HubCommand.h"

#include <QList>
#include <QStringList>
#include <QUrl>

namespace ovrel {

// Reads the hub's command line: either a command ("--install BUNDLE...",
// "--list", ...), or the start of the hub with the URLs it was asked to open
// ("ovrel-lite:" links) and its own options. The same reading serves the
// process that was typed and the running hub it hands its arguments to.
class HubCommandLine {
public:
    static constexpr const char* kUrlScheme = "ovrel-lite";

    struct Parsed {
        enum class Kind { startHub, command, help, version, usageError };
        Kind kind = Kind::startHub;
        const HubCommand* command = nullptr; // for command
        CommandInvocation invocation;        // for command
        QList<QUrl> urls;                    // for startHub: "ovrel-lite:" URLs to open
        bool exitWhenReady = false;          // for startHub
        bool exitWhenModulesShown = false;   // for startHub (start-up measurements)
        bool exitWhenMenuDrawn = false;      // for startHub (start-up measurements)
        QString openSettings;                // for startHub: a settings pane to open
        bool whatsNew = false;               // for startHub: check the feed, show What's New
        QString error;                       // for usageError
    };

    // `arguments` excludes the program name.
    static Parsed parse(const QStringList& arguments, const QString& workingDirectory);

    static QString usage();
    static CommandLineOutcome usageFailure(const QString& error);

    // Runs a parsed command; failures are outcomes, never exceptions.
    static QFuture<CommandLineOutcome> run(const Parsed& parsed, HubCommandContext& context);
};

} // namespace ovrel
