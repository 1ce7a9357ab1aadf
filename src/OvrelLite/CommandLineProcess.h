#pragma once

#include "OvrelLite/commandline/HubCommandLine.h"

namespace ovrel {

// A start of the program for a command: hands it to the running hub when
// there is one, else runs it here, on a QCoreApplication unless the command
// needs a GUI (then an offscreen QApplication: nothing is shown). Prints the
// outcome and returns the exit status.
// `arguments` are the ones `parsed` was read from, without the program name.
int runCommandLineProcess(int& argc, char** argv, const QStringList& arguments,
                          const HubCommandLine::Parsed& parsed);

// Writes an outcome to standard output and standard error.
void printOutcome(const CommandLineOutcome& outcome);

// The application's names, version and desktop id, for either kind of process.
void nameApplication();

} // namespace ovrel
