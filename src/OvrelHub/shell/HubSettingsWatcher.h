#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/shell/HubSettings.h"

#include <QFileSystemWatcher>
#include <QObject>

namespace ovrel {

class NotificationCenter;

// Applies preferences that change on disk (another process, or the user
// editing the plist) while the hub runs: a different language posts
// "ovrelAppLanguageChanged", a different presentation or grid size posts
// "vn.ovrel.menuLayoutChanged", as if the settings window had changed them.
// Woken by the file system, never by polling. Changes the hub makes itself
// are already announced and are not announced again. Main thread only; the
// settings and the centre must outlive it.
class HubSettingsWatcher : public QObject {
    Q_OBJECT
public:
    HubSettingsWatcher(HubSettings& settings, NotificationCenter& center,
                       QObject* parent = nullptr);

signals:
    // The file was looked at after a change on disk (tests wait for it).
    void checked();

private:
    struct Snapshot {
        AppLanguage language = AppLanguage::vi;
        MenuPresentation presentation = MenuPresentation::grid;
        HubSettings::GridLayout grid;
    };
    Snapshot read() const;
    void onDiskChange();
    void watchFile();

    HubSettings& m_settings;
    NotificationCenter& m_center;
    QFileSystemWatcher m_watcher;
    QString m_file;
    Snapshot m_known;
};

} // namespace ovrel
