#pragma once

#include <QString>

namespace ovrel::LogText {

// The text in double quotes, with quotes, backslashes and control characters
// escaped, so text from the network or an archive keeps a log line one line.
QString quoted(const QString& text);

} // namespace ovrel::LogText
