#include "Platform/desktop/DesktopEntry.h"

#include "Platform/files/XdgDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace ovrel::DesktopEntry {

namespace {
constexpr qint64 kMaxEntryBytes = 256 * 1024;

// The first word of an Exec value, honouring the double quotes the spec allows.
QString firstWord(const QString& exec) {
    const QString value = exec.trimmed();
    if (value.startsWith(QLatin1Char('"'))) {
        QString word;
        for (qsizetype i = 1; i < value.size(); ++i) {
            if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
                word += value[++i];
                continue;
            }
            if (value[i] == QLatin1Char('"'))
                return word;
            word += value[i];
        }
        return {};
    }
    return value.section(QLatin1Char(' '), 0, 0);
}
} // namespace

QStringList applicationDirectories() {
    QStringList dirs{XdgDirs::dataHome() + QStringLiteral("/applications")};
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            dirs.append(QDir::cleanPath(dir) + QStringLiteral("/applications"));
    }
    return dirs;
}

std::optional<QString> find(const QString& desktopId) {
    for (const QString& dir : applicationDirectories()) {
        const QString path = dir + QLatin1Char('/') + desktopId + QStringLiteral(".desktop");
        if (QFileInfo(path).isFile())
            return path;
    }
    return std::nullopt;
}

std::optional<QString> executable(const QString& desktopFile) {
    QFile file(desktopFile);
    if (file.size() > kMaxEntryBytes || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup || !line.startsWith(QLatin1String("Exec=")))
            continue;
        const QString program = firstWord(line.mid(5));
        if (program.isEmpty())
            return std::nullopt;
        if (QDir::isAbsolutePath(program))
            return QDir::cleanPath(program);
        const QString found = QStandardPaths::findExecutable(program);
        return found.isEmpty() ? std::nullopt : std::optional<QString>(found);
    }
    return std::nullopt;
}

} // namespace ovrel::DesktopEntry
