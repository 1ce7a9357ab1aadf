#pragma once

#include <QString>
#include <functional>

namespace ovrel {

// One report of how far a command line has come, from wherever it runs to the
// process it was typed in: a measured stretch of work (`done` of `total`
// units, `total` -1 when unknown) or, with `done` -1, a step that just began.
// What the texts mean is the command's business.
struct CommandLineProgress {
    QString text;
    qint64 done = -1;
    qint64 total = -1;

    bool isMeasured() const { return done >= 0; }
    bool operator==(const CommandLineProgress&) const = default;
};

using CommandLineProgressSink = std::function<void(const CommandLineProgress& progress)>;

} // namespace ovrel
