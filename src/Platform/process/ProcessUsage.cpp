#include "Platform/process/ProcessUsage.h"

#include "Platform/files/BoundedFile.h"

#include <QList>
#include <unistd.h>

namespace ovrel {

namespace {

constexpr qint64 kMaxProcFileBytes = 64 * 1024;

std::optional<QByteArray> readSmall(const QString& path) {
    auto result = BoundedFile::read(path, kMaxProcFileBytes);
    if (result.status != BoundedFile::ReadResult::Status::ok)
        return std::nullopt;
    return result.bytes;
}

// The unified hierarchy's path of the process ("0::/user.slice/...").
std::optional<QString> cgroupPath(const QByteArray& cgroupFile) {
    for (const QByteArray& line : cgroupFile.split('\n')) {
        if (line.startsWith("0::"))
            return QString::fromUtf8(line.mid(3));
    }
    return std::nullopt;
}

std::optional<ProcessUsage> fromCgroup(const QString& directory) {
    const auto memory = readSmall(directory + QStringLiteral("/memory.current"));
    const auto cpu = readSmall(directory + QStringLiteral("/cpu.stat"));
    if (!memory || !cpu)
        return std::nullopt;
    bool ok = false;
    ProcessUsage usage;
    usage.memoryBytes = memory->trimmed().toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    for (const QByteArray& line : cpu->split('\n')) {
        if (line.startsWith("usage_usec ")) {
            usage.cpuSeconds = double(line.mid(11).trimmed().toULongLong(&ok)) / 1e6;
            if (!ok)
                return std::nullopt;
            usage.fromUnitCgroup = true;
            return usage;
        }
    }
    return std::nullopt;
}

std::optional<ProcessUsage> fromProc(const QString& processDir) {
    const auto status = readSmall(processDir + QStringLiteral("/status"));
    const auto stat = readSmall(processDir + QStringLiteral("/stat"));
    if (!status || !stat)
        return std::nullopt;
    ProcessUsage usage;
    for (const QByteArray& line : status->split('\n')) {
        if (line.startsWith("VmRSS:")) {
            const QList<QByteArray> parts = line.mid(6).simplified().split(' ');
            usage.memoryBytes = parts.value(0).toULongLong() * 1024;
        }
    }
    // utime and stime are fields 14 and 15; the name before them may hold
    // spaces and parentheses, so count from the last ")".
    const qsizetype close = stat->lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    const QList<QByteArray> fields = stat->mid(close + 2).split(' ');
    if (fields.size() < 13)
        return std::nullopt;
    bool userOk = false;
    bool systemOk = false;
    const quint64 ticks = fields[11].toULongLong(&userOk) + fields[12].toULongLong(&systemOk);
    const long perSecond = ::sysconf(_SC_CLK_TCK);
    if (!userOk || !systemOk || perSecond <= 0)
        return std::nullopt;
    usage.cpuSeconds = double(ticks) / double(perSecond);
    return usage;
}

} // namespace

std::optional<ProcessUsage> ProcessUsage::read(qint64 pid, const QString& unitName,
                                               const QString& procRoot, const QString& cgroupRoot) {
    const QString processDir = procRoot + QLatin1Char('/') + QString::number(pid);
    if (!unitName.isEmpty()) {
        if (const auto file = readSmall(processDir + QStringLiteral("/cgroup"))) {
            const std::optional<QString> path = cgroupPath(*file);
            if (path && !path->contains(QLatin1String("..")) &&
                path->endsWith(QLatin1Char('/') + unitName)) {
                if (auto usage = fromCgroup(cgroupRoot + *path))
                    return usage;
            }
        }
    }
    return fromProc(processDir);
}

} // namespace ovrel
