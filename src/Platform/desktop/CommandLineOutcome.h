#pragma once

#include <QString>

namespace ovrel {

// What a command line run in a running instance hands back to the process
// that was started for it: its exit status and the texts for its standard
// output and standard error.
struct CommandLineOutcome {
    int status = 0;
    QString output;
    QString errors;

    static CommandLineOutcome success(QString output = {}) { return {0, std::move(output), {}}; }
    static CommandLineOutcome failure(int status, QString errors) {
        return {status, {}, std::move(errors)};
    }
    bool operator==(const CommandLineOutcome&) const = default;
};

} // namespace ovrel
