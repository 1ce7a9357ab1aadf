#include "OvrelLite/StartupProbe.h"

#include "OvrelLite/LiteAppDelegate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QTimer>

namespace ovrel {

StartupProbe::StartupProbe(LiteAppDelegate& delegate, Point point)
    : QObject(&delegate), m_delegate(delegate), m_point(point) {}

void StartupProbe::arm(LiteAppDelegate& delegate, Point point) {
    auto* probe = new StartupProbe(delegate, point);
    // The refresh that follows the launch asks for the rebuild before it
    // reports, so the menu holds the modules when this runs.
    connect(&delegate.hub(), &HubController::moduleModelRefreshed, probe,
            &StartupProbe::modulesShown, Qt::SingleShotConnection);
}

void StartupProbe::modulesShown() {
    StatusItem* item = m_delegate.statusItem();
    if (m_point == Point::modulesShown || !item || !item->menu()) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return;
    }
    item->menu()->installEventFilter(this);
    item->popUpMenu(QPoint(0, 0));
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    // Quits after the first paint of the opened menu has been handled.
    if (event->type() == QEvent::Paint && !m_done) {
        m_done = true;
        watched->removeEventFilter(this);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return false;
}

} // namespace ovrel
