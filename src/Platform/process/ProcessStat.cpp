#include "Platform/process/ProcessStat.h"

#include "Platform/files/BoundedFile.h"

#include <QByteArrayList>

namespace ovrel {

namespace {

// The line is a few hundred bytes; the command name inside is at most 64.
constexpr qint64 kMaxStatBytes = 4096;
// Fields after the parenthesised command name: state is the first, the start
// time the twentieth (fields 3 and 22 of the whole line).
constexpr int kStateField = 0;
constexpr int kStartTimeField = 19;

} // namespace

std::optional<ProcessStat> ProcessStat::read(const QString& procRoot, qint64 pid) {
    const auto file = BoundedFile::read(procRoot + QLatin1Char('/') + QString::number(pid) +
                                            QStringLiteral("/stat"),
                                        kMaxStatBytes);
    if (file.status != BoundedFile::ReadResult::Status::ok)
        return std::nullopt;
    return parse(file.bytes);
}

std::optional<ProcessStat> ProcessStat::parse(QByteArrayView contents) {
    // The command name may itself contain spaces and parentheses: the fields
    // start after the last ")".
    const qsizetype close = contents.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    const QByteArrayList fields = contents.sliced(close + 1).toByteArray().simplified().split(' ');
    if (fields.size() <= kStartTimeField || fields[kStateField].size() != 1)
        return std::nullopt;
    bool ok = false;
    const quint64 startTime = fields[kStartTimeField].toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    return ProcessStat{fields[kStateField].at(0), startTime};
}

} // namespace ovrel
