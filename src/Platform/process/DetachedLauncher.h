#pragma once

#include <QString>
#include <QStringList>

namespace ovrel {

// Starts a program that belongs to nobody: a double fork leaves it an orphan
// (init or the session's subreaper reaps it, never a zombie of ours), in a
// session of its own, with "/" as working directory, standard input and output
// on /dev/null, no other inherited descriptors, default signal handling and
// the caller's environment minus the one-shot activation tokens addressed to
// the caller. Returns once the program has been executed, or failed to be.
namespace DetachedLauncher {

struct Outcome {
    qint64 pid = 0; // the program's process, when it started
    int error = 0;  // errno of the failed step, 0 on success
    bool started() const { return error == 0 && pid > 0; }
};

Outcome launch(const QString& executable, const QStringList& arguments = {});

// The same start, but the program stays this process's child (in a session
// of its own), so the caller learns its exit status with waitid() and must
// reap it. extraEnvironment ("NAME=value") replaces or adds variables.
Outcome launchChild(const QString& executable, const QStringList& arguments = {},
                    const QStringList& extraEnvironment = {});

} // namespace DetachedLauncher

} // namespace ovrel
