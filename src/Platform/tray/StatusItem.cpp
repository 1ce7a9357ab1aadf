#include "Platform/tray/StatusItem.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <algorithm>

namespace ovrel {

StatusItem::StatusItem(QObject* parent) : QObject(parent) {
    connect(&m_tray, &QSystemTrayIcon::activated, this, &StatusItem::onActivated);
}

StatusItem::~StatusItem() {
    delete m_menu;
}

void StatusItem::setImage(const QIcon& icon, const QString& accessibilityDescription) {
    m_tray.setIcon(icon);
    m_tray.setToolTip(accessibilityDescription);
}

void StatusItem::setMenu(QMenu* menu) {
    if (m_menu == menu)
        return;
    if (m_menu)
        m_menu->deleteLater(); // it may be on screen and dispatching this very rebuild
    m_menu = menu;
}

void StatusItem::show() {
    m_tray.show();
}

void StatusItem::popUpMenu(std::optional<QPoint> at) {
    if (!m_menu)
        return;
    QPoint point = at.value_or(QCursor::pos());
    // Keep the whole menu on the screen the point is on.
    if (const QScreen* screen = QGuiApplication::screenAt(point)) {
        const QRect area = screen->availableGeometry();
        const QSize size = m_menu->sizeHint();
        point.setX(
            std::clamp(point.x(), area.left(), std::max(area.left(), area.right() - size.width())));
        point.setY(
            std::clamp(point.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    }
    m_menu->popup(point);
    m_menu->activateWindow();
}

void StatusItem::onActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::Context:
    case QSystemTrayIcon::MiddleClick:
        popUpMenu();
        break;
    default:
        break;
    }
}

} // namespace ovrel
