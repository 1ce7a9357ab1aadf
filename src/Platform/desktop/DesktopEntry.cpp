#include "Platform/desktop/DesktopEntry.h"

#include "Platform/files/XdgDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace ovrel::DesktopEntry {

namespace {
constexpr qint64 kMaxEntryBytes = 256 * 1024;

// Programs that start another program they do not name in a way we can
// follow: the installed application is then known only by its entry.
bool hidesProgram(const QString& launcher, const QStringList& rest) {
    static const QStringList launchers{QStringLiteral("flatpak"),     QStringLiteral("snap"),
                                       QStringLiteral("gtk-launch"),  QStringLiteral("xdg-open"),
                                       QStringLiteral("systemd-run"), QStringLiteral("firejail")};
    static const QStringList shells{QStringLiteral("sh"), QStringLiteral("bash"),
                                    QStringLiteral("dash"), QStringLiteral("zsh"),
                                    QStringLiteral("ksh")};
    if (launchers.contains(launcher))
        return true;
    return shells.contains(launcher) &&
           std::any_of(rest.cbegin(), rest.cend(), [](const QString& word) {
               return word.startsWith(QLatin1Char('-')) && !word.startsWith(QLatin1String("--")) &&
                      word.contains(QLatin1Char('c'));
           });
}

// A string value with the entry format's own escapes undone (\s, \n, \t,
// \r, \\); the Exec quoting rules apply to the result.
QString unescapedValue(const QString& raw) {
    QString value;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) != u'\\' || i + 1 == raw.size()) {
            value += raw.at(i);
            continue;
        }
        const QChar next = raw.at(++i);
        switch (next.unicode()) {
        case u's':
            value += QLatin1Char(' ');
            break;
        case u'n':
            value += QLatin1Char('\n');
            break;
        case u't':
            value += QLatin1Char('\t');
            break;
        case u'r':
            value += QLatin1Char('\r');
            break;
        case u'\\':
            value += QLatin1Char('\\');
            break;
        default:
            value += QLatin1Char('\\');
            value += next;
        }
    }
    return value;
}

// The main group's Exec value, if any.
std::optional<QString> execValue(const QString& desktopFile) {
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
        if (inMainGroup && line.startsWith(QLatin1String("Exec=")))
            return unescapedValue(line.mid(5));
    }
    return std::nullopt;
}

QString resolved(const QString& program) {
    if (QDir::isAbsolutePath(program))
        return QDir::cleanPath(program);
    return QStandardPaths::findExecutable(program);
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

QStringList execWords(const QString& exec) {
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == u'\\' && i + 1 < exec.size()) {
                word += exec.at(++i);
            } else if (c == u'"') {
                quoted = false;
            } else {
                word += c;
            }
            continue;
        }
        if (c == u' ' || c == u'\t') {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == u'"')
            quoted = true;
        else
            word += c;
    }
    if (quoted)
        return {}; // an unclosed quote makes the whole value invalid
    if (inWord)
        words.append(word);
    // "%%" is a literal percent sign; other field codes stay as they are.
    for (QString& each : words)
        each.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return words;
}

ExecTarget execTarget(const QStringList& words) {
    qsizetype at = 0;
    // env runs the program after its options and variable assignments.
    if (at < words.size() && QFileInfo(words.at(at)).fileName() == QLatin1String("env")) {
        ++at;
        while (at < words.size()) {
            const QString& word = words.at(at);
            if (word == QLatin1String("-u") || word == QLatin1String("--unset")) {
                at += 2;
            } else if (word == QLatin1String("-S") || word.startsWith(QLatin1String("--split")) ||
                       word.startsWith(QLatin1String("-S"))) {
                return {ExecTarget::Kind::hidden, {}}; // the program is inside a string
            } else if (word.startsWith(QLatin1Char('-')) || word.contains(QLatin1Char('='))) {
                ++at;
            } else {
                break;
            }
        }
    }
    if (at >= words.size())
        return {ExecTarget::Kind::none, {}};
    const QString& program = words.at(at);
    if (hidesProgram(QFileInfo(program).fileName(), words.mid(at + 1)))
        return {ExecTarget::Kind::hidden, program};
    return {ExecTarget::Kind::program, program};
}

std::optional<QString> executable(const QString& desktopFile) {
    const std::optional<QString> exec = execValue(desktopFile);
    if (!exec)
        return std::nullopt;
    const ExecTarget target = execTarget(execWords(*exec));
    if (target.kind != ExecTarget::Kind::program)
        return std::nullopt;
    const QString found = resolved(target.program);
    return found.isEmpty() ? std::nullopt : std::optional<QString>(found);
}

std::optional<QString> installedLocation(const QString& desktopFile) {
    const std::optional<QString> exec = execValue(desktopFile);
    if (!exec)
        return std::nullopt;
    const ExecTarget target = execTarget(execWords(*exec));
    switch (target.kind) {
    case ExecTarget::Kind::none:
        return std::nullopt;
    case ExecTarget::Kind::hidden:
        return QDir::cleanPath(QFileInfo(desktopFile).absoluteFilePath());
    case ExecTarget::Kind::program:
        break;
    }
    const QString found = resolved(target.program);
    return found.isEmpty() ? std::nullopt : std::optional<QString>(found);
}

} // namespace ovrel::DesktopEntry
