#include "Platform/desktop/LoginItem.h"

#include "Platform/files/AtomicFile.h"
#include "Platform/files/BoundedFile.h"
#include "Platform/files/XdgDirs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace ovrel {

namespace {

constexpr qint64 kMaxEntryBytes = 64 * 1024;

// One Exec argument: always quoted, with the characters the desktop-entry
// format reserves inside quotes escaped, then "%" doubled (field codes) and
// backslashes doubled once more for the string escaping of the value.
QString execArgument(const QString& argument) {
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'%', QStringLiteral("%%"));
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    return u'"' + quoted + u'"';
}

// Names may not span lines in a desktop entry.
QString singleLine(QString text) {
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    return text;
}

bool isHidden(const QByteArray& entry) {
    for (const QByteArray& raw : entry.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[') && line != "[Desktop Entry]")
            return false; // only the main group counts
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && line.left(equals).trimmed() == "Hidden")
            return line.mid(equals + 1).trimmed() == "true";
    }
    return false;
}

} // namespace

XdgAutostartLoginItem::XdgAutostartLoginItem(QString desktopId, QString name, QString program)
    : m_desktopId(std::move(desktopId)), m_name(std::move(name)), m_program(std::move(program)) {}

XdgAutostartLoginItem& XdgAutostartLoginItem::shared() {
    static XdgAutostartLoginItem item(QStringLiteral("vn.ovrel.lite"), QStringLiteral("Ovrel Lite"),
                                      QCoreApplication::applicationFilePath());
    return item;
}

QString XdgAutostartLoginItem::entryPath() const {
    return XdgDirs::configHome() + QStringLiteral("/autostart/") + m_desktopId +
           QStringLiteral(".desktop");
}

bool XdgAutostartLoginItem::isEnabled() const {
    const auto entry = BoundedFile::read(entryPath(), kMaxEntryBytes);
    using Status = BoundedFile::ReadResult::Status;
    // An entry too long to inspect is still started by the desktop.
    return entry.status == Status::tooLarge ||
           (entry.status == Status::ok && !isHidden(entry.bytes));
}

QByteArray XdgAutostartLoginItem::entryText(const QString& name, const QString& program) {
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + singleLine(name) +
                   QStringLiteral("\nExec=") + singleLine(execArgument(program)) +
                   QStringLiteral("\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}

void XdgAutostartLoginItem::setEnabled(bool enabled) {
    const QString path = entryPath();
    if (!enabled) {
        if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
            throw LoginItemError(path + QStringLiteral(": ") +
                                 QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    const QFileInfo program(m_program);
    if (m_program.isEmpty() || !program.isAbsolute() || !program.isExecutable())
        throw LoginItemError(QStringLiteral("no program to start: \"") + m_program +
                             QStringLiteral("\""));
    try {
        AtomicFile::write(path, entryText(m_name, m_program));
    } catch (const FileError& error) {
        throw LoginItemError(error.description());
    }
}

} // namespace ovrel
