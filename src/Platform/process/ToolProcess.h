#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace ovrel {

// Runs a system tool to its end and reports its exit status. Blocks the
// calling thread; any thread may call it.
namespace ToolProcess {

// The tool could not be started at all (missing, not executable).
class LaunchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Result {
    int status = 0;    // the exit status; -1 when the tool died from a signal
    QByteArray output; // standard output, when asked for
};

// Standard output and error go to the null device. Throws LaunchError.
int run(const QString& program, const QStringList& arguments);
// Standard output is captured (at most maxOutput bytes are kept), standard
// error goes to the null device. Throws LaunchError.
Result runCapturingOutput(const QString& program, const QStringList& arguments,
                          qint64 maxOutput = 1024 * 1024);

} // namespace ToolProcess

} // namespace ovrel
