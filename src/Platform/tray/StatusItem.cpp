#include "Platform/tray/StatusItem.h"

#include "Platform/tray/MenuPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

namespace ovrel {

StatusItem::StatusItem(QObject* parent) : QObject(parent) {
    connect(&m_tray, &QSystemTrayIcon::activated, this, &StatusItem::onActivated);
}

StatusItem::~StatusItem() {
    delete m_pending;
    delete m_menu;
}

void StatusItem::setImage(const QIcon& icon, const QString& accessibilityDescription) {
    m_tray.setIcon(icon);
    m_tray.setToolTip(accessibilityDescription);
}

void StatusItem::setMenu(QMenu* menu) {
    if (m_menu == menu)
        return;
    if (m_menu && m_menu->isVisible()) {
        if (m_pending && m_pending != menu)
            m_pending->deleteLater(); // built while open and never shown
        m_pending = menu;
        return;
    }
    install(menu);
}

void StatusItem::install(QMenu* menu) {
    if (m_menu) {
        disconnect(m_menu, nullptr, this, nullptr);
        m_menu->deleteLater(); // it may be dispatching this very rebuild or a chosen item
    }
    m_menu = menu;
    if (m_menu)
        connect(m_menu, &QMenu::aboutToHide, this, &StatusItem::swapInPendingMenu);
}

void StatusItem::swapInPendingMenu() {
    if (!m_pending)
        return;
    QMenu* next = m_pending;
    m_pending = nullptr;
    install(next);
}

void StatusItem::show() {
    m_tray.show();
}

QPoint StatusItem::menuPosition(const QRect& iconGeometry, std::optional<QPoint> pointer) const {
    const QSize size = m_menu ? m_menu->sizeHint() : QSize();
    const bool iconKnown = iconGeometry.isValid() && !iconGeometry.isEmpty();
    const QPoint anchor = iconKnown ? iconGeometry.center() : pointer.value_or(QCursor::pos());
    const QScreen* screen = QGuiApplication::screenAt(anchor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return iconKnown ? iconGeometry.bottomLeft() : anchor;
    const QRect area = screen->availableGeometry();
    return iconKnown ? MenuPlacement::besideIcon(iconGeometry, size, area)
                     : MenuPlacement::atPointer(anchor, size, area);
}

void StatusItem::popUpMenu(std::optional<QPoint> at) {
    if (!m_menu)
        return;
    m_menu->popup(menuPosition(at ? QRect() : m_tray.geometry(), at));
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
