#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/settings/PermissionOverviewBuilder.h"
#include "OvrelHub/settings/PermissionPaneOpener.h"
#include "OvrelHub/settings/SettingsServices.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace ovrel {

// The permissions every installed module declares, with the status each
// module last reported, a "Refresh" that asks all of them to check again
// (waiting up to 3 seconds for their answers) and, for a permission not
// granted, a button that opens where it is granted. Main thread.
class PermissionsPane : public QWidget {
    Q_OBJECT
public:
    PermissionsPane(SettingsServices& services, AppLanguage language, QWidget* parent = nullptr);

    // Reads the modules and their reports again and redraws.
    void reload();
    // Asks every listed module to check again, then reloads.
    void refresh();

    const QList<PermissionOverviewBuilder::Group>& groups() const { return m_groups; }
    QLabel* title() const { return m_title; }
    QPushButton* refreshButton() const { return m_refresh; }
    PermissionPaneOpener& opener() { return m_opener; }

private:
    void display(QList<PermissionOverviewBuilder::Group> groups);

    SettingsServices& m_services;
    AppLanguage m_lang;
    PermissionPaneOpener m_opener;
    QList<PermissionOverviewBuilder::Group> m_groups;
    QLabel* m_title = nullptr;
    QPushButton* m_refresh = nullptr;
    QWidget* m_list = nullptr;
    QVBoxLayout* m_layout = nullptr;
};

} // namespace ovrel
