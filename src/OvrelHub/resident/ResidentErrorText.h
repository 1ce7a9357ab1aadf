#pragma once

#include <QString>

namespace ovrel {

// How an error of the agent machinery reads in a log line.
namespace ResidentErrorText {

// The exception being handled: a ResidentError's description, another
// exception's message, or a fixed text. Call only inside a catch block.
QString current();

} // namespace ResidentErrorText

} // namespace ovrel
