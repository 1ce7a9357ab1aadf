#include "Platform/desktop/DesktopRegistration.h"

#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"
#include "Platform/files/XdgDirs.h"

#include <QFileInfo>
#include <QStringList>

namespace ovrel::DesktopRegistration {

namespace {

constexpr qint64 kMaxMimeAppsBytes = 1024 * 1024;
constexpr const char* kDefaultGroup = "[Default Applications]";

// An Exec argument in double quotes, with the characters the desktop entry format
// reserves escaped; a literal "%" is doubled because field codes use it.
QString quotedExecArgument(const QString& argument) {
    QString out = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += QLatin1Char('\\');
        out += c;
        if (c == u'%')
            out += c;
    }
    return out + QLatin1Char('"');
}

} // namespace

QString entryText(const QString& entryTemplate, const QString& program) {
    QString text = entryTemplate;
    // The entry file's own escaping of "\" applies on top of the Exec quoting.
    QString execValue = quotedExecArgument(program);
    execValue.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QStringLiteral("@EXEC@"), execValue);
    return text;
}

QString installEntry(const QString& desktopId, const QString& text) {
    const QString path = XdgDirs::dataHome() + QStringLiteral("/applications/") + desktopId +
                         QStringLiteral(".desktop");
    AtomicFile::write(path, text.toUtf8());
    return path;
}

QString withDefaultApplication(const QString& mimeApps, const QString& mimeType,
                               const QString& desktopId) {
    const QString entry = mimeType + QLatin1Char('=') + desktopId + QStringLiteral(".desktop;");
    QStringList lines = mimeApps.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    qsizetype groupStart = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            if (groupStart >= 0)
                break; // the default group ended without the key: insert below
            if (line == QLatin1String(kDefaultGroup))
                groupStart = i;
            continue;
        }
        if (groupStart >= 0 && line.section(QLatin1Char('='), 0, 0).trimmed() == mimeType) {
            lines[i] = entry;
            return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
        }
    }
    if (groupStart < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(QString::fromLatin1(kDefaultGroup));
        lines.append(entry);
    } else {
        // Right after the group's last key, before any blank lines that end it.
        qsizetype insertAt = groupStart + 1;
        for (qsizetype i = groupStart + 1; i < lines.size(); ++i) {
            if (lines.at(i).trimmed().startsWith(QLatin1Char('[')))
                break;
            if (!lines.at(i).trimmed().isEmpty())
                insertAt = i + 1;
        }
        lines.insert(insertAt, entry);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void setDefaultApplication(const QString& mimeType, const QString& desktopId) {
    const QString path = XdgDirs::configHome() + QStringLiteral("/mimeapps.list");
    const BoundedFile::ReadResult current = BoundedFile::read(path, kMaxMimeAppsBytes);
    if (current.status == BoundedFile::ReadResult::Status::tooLarge)
        throw FileError(path, QStringLiteral("too large to be a list of associations"));
    // Never replace a file that is there but could not be read.
    if (current.status == BoundedFile::ReadResult::Status::failed && QFileInfo::exists(path))
        throw FileError(path, QStringLiteral("cannot be read"));
    const QString text = current.status == BoundedFile::ReadResult::Status::ok
                             ? QString::fromUtf8(current.bytes)
                             : QString();
    AtomicFile::write(path, withDefaultApplication(text, mimeType, desktopId).toUtf8());
}

} // namespace ovrel::DesktopRegistration
