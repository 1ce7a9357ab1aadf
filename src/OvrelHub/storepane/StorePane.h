#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/settings/SettingsRoute.h"
#include "OvrelHub/storepane/StoreDetailPane.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

class QPushButton;

namespace ovrel {

class ModuleCommandSending;
class ModulePaths;
class RemoteImageCache;

class StoreOperations;
class StoreTile;
class TileGrid;
struct CatalogEntry;

// The store: the catalog and the installed modules as tiles with their
// planned action, a search over their names and summaries, the auto-update
// switch, the install-from-file row in build mode, and one module's detail
// page. It shows what StoreOperations holds (so an install started here
// keeps going, with its progress, while the user is elsewhere) and reloads
// it whenever it is built. Failures show as the feedback strip with a retry
// button (the catalog), the reason under the module and an alert (installs
// and uninstalls). Main thread.
class StorePane : public QWidget {
    Q_OBJECT
public:
    struct Inputs {
        StoreOperations& operations;
        RemoteImageCache& images;
        const ModulePaths& paths;
        std::function<ModuleCommandSending*()> runner;
        AppLanguage language = AppLanguage::en;
        StorePage page;
        // Switches the settings window to another route (a module's pane).
        std::function<void(const SettingsRoute&)> navigate;
    };

    explicit StorePane(Inputs inputs, QWidget* parent = nullptr);

    const StorePage& page() const { return m_page; }
    // A detail page of a module no longer listed shows the grid.
    StorePage safePage() const;
    void showPage(const StorePage& page);

    QLineEdit* searchField() const { return m_search; }
    QLabel* feedbackStrip() const { return m_strip; }
    QPushButton* retryButton() const { return m_retry; }
    QCheckBox* autoUpdateSwitch() const { return m_autoUpdate; }
    QLabel* emptyLabel() const { return m_empty; }
    QPushButton* localInstallButton() const { return m_localInstall; }
    QList<StoreTile*> tiles() const;
    StoreTile* tile(const QString& id) const;
    StoreDetailPane* detail() const { return m_detail; }
    QMessageBox* alertBox() const { return m_alertBox; }
    QMessageBox* confirmation() const { return m_confirmation; }

    // Asks to uninstall the module (the confirmation decides).
    void confirmUninstall(const QString& id);

signals:
    void pageChanged(const StorePage& page);

private:
    QWidget* gridPage();
    QWidget* localInstallRow();
    void refresh();
    void refreshTiles();
    void refreshDetail();
    void showProgress(const QString& id);
    void showAlert();
    void loadIcon(const CatalogEntry& entry, StoreTile* tile);
    std::optional<CatalogEntry> entry(const QString& id) const;
    QString progressText(const QString& id) const;
    bool canCancel(const QString& id) const;
    QString failureText(const QString& id) const;

    Inputs m_in;
    AppLanguage m_lang;
    StorePage m_page;
    QWidget* m_grid = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_strip = nullptr;
    QPushButton* m_retry = nullptr;
    QWidget* m_stripRow = nullptr;
    QCheckBox* m_autoUpdate = nullptr;
    TileGrid* m_tiles = nullptr;
    QLabel* m_empty = nullptr;
    QPushButton* m_localInstall = nullptr;
    QPointer<StoreDetailPane> m_detail;
    QPointer<QMessageBox> m_alertBox;
    QPointer<QMessageBox> m_confirmation;
    bool m_focusGiven = false;
};

} // namespace ovrel
