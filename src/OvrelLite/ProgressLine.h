#pragma once

#include "Platform/desktop/CommandLineProgress.h"

#include <QString>
#include <cstdio>
#include <functional>

namespace ovrel {

// The command line's account of a long install on standard error: a download
// line with the bytes received and, when the size is known, the percentage,
// then one line per install step. On a terminal the download line is redrawn
// in place (carriage return); elsewhere (a log, a pipe) it is written as
// plain lines now and then: at each tenth of a known size, or every 8 MiB.
// Main thread only.
class ProgressLine {
public:
    using Writer = std::function<void(const QString& text)>;

    ProgressLine(Writer writer, bool terminal);
    // Standard error, redrawn when it is a terminal.
    static ProgressLine standardError();

    // `total` is -1 when the size is unknown.
    void download(const QString& what, qint64 received, qint64 total);
    void step(const QString& text);
    // A measured report as a download of its text, any other as a step.
    void show(const CommandLineProgress& progress);
    // Ends a download line still being redrawn.
    void finish();

    static QString downloadText(const QString& what, qint64 received, qint64 total);

private:
    Writer m_write;
    bool m_terminal;
    bool m_open = false;       // a redrawn line without its line feed yet
    qint64 m_lastMark = -1;    // the tenth or 8 MiB step written last (not a terminal)
    int m_lastWidth = 0;       // of the redrawn line, to blank a longer one
};

} // namespace ovrel
