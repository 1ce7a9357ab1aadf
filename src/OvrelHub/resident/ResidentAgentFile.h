#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace ovrel {

// What a control that is not launchd needs from an agent property list: the
// label, the program and its arguments, and how long to wait between starts.
struct ResidentAgentFile {
    QString label;
    QStringList programArguments; // the program first; never empty
    int throttleSeconds = 10;

    static constexpr qint64 kMaxBytes = 1024 * 1024;

    // Nothing when the file is unreadable, not a dictionary property list, or
    // has no string label or no program path.
    static std::optional<ResidentAgentFile> read(const QString& plistPath);
};

} // namespace ovrel
