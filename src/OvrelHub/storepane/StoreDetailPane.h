#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/CatalogEntry.h"
#include "OvrelHub/storepane/StoreStatus.h"

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace ovrel {

class StoreIcon;

// One module's page in the store: a way back, the icon and name, the action
// row, "Open settings" and "Open app" for an installed module, the
// description, the screenshots in a row that scrolls sideways, and the
// download size of the latest release. Alt+Left and Backspace also go back.
class StoreDetailPane : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        CatalogEntry entry;
        QString name;
        QString description;
        bool installed = false;
        DetailActions actions;
        QString progressText; // replaces the caption while an install runs
        bool canCancel = false;
        QString failure; // why the last install failed
        AppLanguage language = AppLanguage::en;
    };

    explicit StoreDetailPane(const Inputs& inputs, QWidget* parent = nullptr);

    StoreIcon* icon() const { return m_icon; }
    QList<QLabel*> screenshots() const { return m_screenshots; }
    QPushButton* backButton() const { return m_back; }
    QPushButton* installButton() const { return m_install; }
    QPushButton* updateButton() const { return m_update; }
    QPushButton* uninstallButton() const { return m_uninstall; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* openSettingsButton() const { return m_openSettings; }
    QPushButton* openAppButton() const { return m_openApp; }
    QLabel* captionLabel() const { return m_caption; }
    QLabel* sizeLabel() const { return m_size; }

    // Updates the caption of an install under way without building the page again.
    void setProgressText(const QString& text, bool canCancel);

signals:
    void back();
    void install();
    void uninstall();
    void cancel();
    void openSettings();
    void openApp();

private:
    QWidget* actionRow(const Inputs& inputs);
    QWidget* screenshotRow(const QStringList& addresses);

    StoreIcon* m_icon = nullptr;
    QList<QLabel*> m_screenshots;
    QPushButton* m_back = nullptr;
    QPushButton* m_install = nullptr;
    QPushButton* m_update = nullptr;
    QPushButton* m_uninstall = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_openSettings = nullptr;
    QPushButton* m_openApp = nullptr;
    QLabel* m_caption = nullptr;
    QLabel* m_size = nullptr;
};

} // namespace ovrel
