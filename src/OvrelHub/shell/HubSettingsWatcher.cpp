#include "OvrelHub/shell/HubSettingsWatcher.h"

#include "Platform/notify/NotificationCenter.h"

#include <QDir>
#include <QFileInfo>

namespace ovrel {

HubSettingsWatcher::HubSettingsWatcher(HubSettings& settings, NotificationCenter& center,
                                       QObject* parent)
    : QObject(parent), m_settings(settings), m_center(center),
      m_file(settings.defaults().filePath()), m_known(read()) {
    // The file is replaced by a rename on every write, which ends a watch on
    // the file itself: the directory tells when a new one arrives.
    const QString directory = QFileInfo(m_file).absolutePath();
    QDir().mkpath(directory);
    m_watcher.addPath(directory);
    watchFile();
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &HubSettingsWatcher::onDiskChange);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &HubSettingsWatcher::onDiskChange);
    // What the hub changes itself it has announced already.
    const auto remember = [this] { m_known = read(); };
    m_center.observe(QString::fromLatin1(HubSettings::kLanguageChanged), this, remember);
    m_center.observe(QString::fromLatin1(HubSettings::kMenuLayoutChanged), this, remember);
}

HubSettingsWatcher::Snapshot HubSettingsWatcher::read() const {
    return Snapshot{m_settings.appLanguage(), m_settings.menuPresentation(),
                    m_settings.menuGridLayout()};
}

void HubSettingsWatcher::watchFile() {
    if (!m_watcher.files().contains(m_file) && QFileInfo::exists(m_file))
        m_watcher.addPath(m_file);
}

void HubSettingsWatcher::onDiskChange() {
    watchFile();
    const Snapshot now = read();
    const Snapshot before = m_known;
    m_known = now;
    if (now.language != before.language)
        m_center.post(QString::fromLatin1(HubSettings::kLanguageChanged));
    if (now.presentation != before.presentation || !(now.grid == before.grid))
        m_center.post(QString::fromLatin1(HubSettings::kMenuLayoutChanged));
    emit checked();
}

} // namespace ovrel
