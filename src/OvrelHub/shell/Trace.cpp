#include "OvrelHub/shell/Trace.h"

#include "OvrelHub/shell/HubSettings.h"
#include "Platform/files/AtomicFile.h"
#include "Platform/files/XdgDirs.h"

#include <QDateTime>
#include <QFile>
#include <mutex>

namespace ovrel {

namespace {
std::mutex& traceMutex() {
    static std::mutex m;
    return m;
}
std::function<bool()>& enabledProvider() {
    static std::function<bool()> provider = [] { return HubSettings::shared().debugLog(); };
    return provider;
}
} // namespace

QString Trace::filePath() {
    return XdgDirs::stateHome() + QStringLiteral("/Ovrel/Ovrel-trace.log");
}

void Trace::force(const QString& message) {
    std::lock_guard lock(traceMutex());
    const QByteArray line = (QDateTime::currentDateTime()
                                 .toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
                                 .toString(Qt::ISODateWithMs) +
                             QLatin1Char(' ') + message + QLatin1Char('\n'))
                                .toUtf8();
    const QString path = filePath();
    QFile file(path);
    if (file.exists() && file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        file.write(line);
        return;
    }
    try {
        AtomicFile::write(path, line, AtomicFile::Options::transient());
    } catch (const FileError&) {
        // Tracing must never stop the hub.
    }
}

void Trace::log(const std::function<QString()>& message) {
    if (isEnabled())
        force(message());
}

bool Trace::isEnabled() {
    std::function<bool()> provider;
    {
        std::lock_guard lock(traceMutex());
        provider = enabledProvider();
    }
    return provider && provider();
}

void Trace::setEnabledProvider(std::function<bool()> provider) {
    std::lock_guard lock(traceMutex());
    enabledProvider() = std::move(provider);
}

} // namespace ovrel
