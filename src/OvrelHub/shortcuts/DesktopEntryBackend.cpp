#include "OvrelHub/shortcuts/DesktopEntryBackend.h"

#include "Platform/bundle/BundleIcon.h"
#include "Platform/bundle/BundleInfo.h"
#include "Platform/files/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ovrel {

namespace {

// A string value of a desktop entry: one line, backslash escapes.
QString escapedValue(const QString& text) {
    QString value;
    for (const QChar c : text) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            value += c;
    }
    return value;
}

// One argument of Exec: double-quoted with `"`, "`", "$" and "\" escaped, and
// "%" doubled so it is no field code.
QString execArgument(const QString& argument) {
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QByteArray DesktopEntryBackend::entryText(const QString& name, const QString& bundle) {
    const std::optional<BundleInfo> info = BundleInfo::read(bundle);
    if (!info)
        return {};
    const QString executable = QDir(bundle).filePath(info->executablePath());
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.5\n");
    text += QStringLiteral("Name=") + escapedValue(name) + QLatin1Char('\n');
    if (const QString icon = BundleIcon::file(bundle); !icon.isEmpty())
        text += QStringLiteral("Icon=") + escapedValue(icon) + QLatin1Char('\n');
    text += QStringLiteral("TryExec=") + escapedValue(executable) + QLatin1Char('\n');
    text += QStringLiteral("Exec=") + escapedValue(execArgument(executable)) + QLatin1Char('\n');
    text += QStringLiteral("Terminal=false\nCategories=Utility;\n");
    if (!info->identifier.isEmpty())
        text += QStringLiteral("X-Ovrel-Bundle-Identifier=") + escapedValue(info->identifier) +
                QLatin1Char('\n');
    return text.toUtf8();
}

void DesktopEntryBackend::create(const QString& link, const QString& target) {
    remove(link);
    const QByteArray text = entryText(QFileInfo(link).fileName(), target);
    if (text.isEmpty())
        throw FileError(target, QStringLiteral("the bundle names no executable"));
    AtomicFile::write(entryFile(link), text);
}

bool DesktopEntryBackend::exists(const QString& link) const {
    const QFileInfo entry(entryFile(link));
    return entry.exists() || entry.isSymLink();
}

void DesktopEntryBackend::remove(const QString& link) {
    QFile::remove(entryFile(link));
}

} // namespace ovrel
