#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/accountpane/HubClearDataView.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace ovrel {


class RemoteImageCache;
class Workspace;
struct AccountTabServices;

// The account tab: the notice of a lost session until it is dismissed,
// signing in with each provider or the signed-in profile with "Log out",
// the sign-in error, the sync switches with each stream's status and its
// conflict choices, and "Clear my data…" and the privacy policy. It holds no
// logic of its own: it redraws (once control is back in the event loop)
// whenever the sign-in, sync or session-lost services change, and every
// button calls them. When shown it refreshes the profile if a session is
// stored. Main thread; the services must outlive it.
class AccountTab : public QWidget {
    Q_OBJECT
public:
    AccountTab(AccountTabServices& services, Workspace& workspace, RemoteImageCache* images,
               AppLanguage language, QWidget* parent = nullptr);

    // The widget of the current drawing with the object name, if any
    // ("signInGoogle", "logOut", "keepCloud:moduleSettings", ...).
    template <class T> T* part(const QString& name) const {
        return m_content ? m_content->findChild<T*>(name) : nullptr;
    }
    HubClearDataView* clearDataSheet() const { return m_sheet; }
    void openClearData();
    void openPrivacyPolicy();

signals:
    void redrawn(); // tests wait for it

private:
    void scheduleRedraw();
    void redraw();
    QWidget* accountSection();
    QWidget* sessionLostNotice();
    QWidget* userRow();
    QWidget* signInButtons();
    QWidget* otherSection();

    AccountTabServices& m_services;
    Workspace& m_workspace;
    RemoteImageCache* m_images;
    AppLanguage m_lang;
    QPointer<QWidget> m_content;
    QPointer<HubClearDataView> m_sheet;
    bool m_redrawPending = false;
};

} // namespace ovrel
