#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSystemTrayIcon>
#include <memory>
#include <optional>

namespace ovrel {

// The hub's one item in the desktop's tray. Activating it pops the hub's own
// menu: the tray's exported menu would drop custom widgets (the module grid).
class StatusItem : public QObject {
    Q_OBJECT
public:
    explicit StatusItem(QObject* parent = nullptr);
    ~StatusItem() override;

    void setImage(const QIcon& icon, const QString& accessibilityDescription);
    QIcon image() const { return m_tray.icon(); }
    QString accessibilityDescription() const { return m_tray.toolTip(); }

    // Takes the menu. A menu that is open stays until it closes, so nothing
    // vanishes under the pointer; the new one replaces it then (pendingMenu()
    // until that moment) and the old one is deleted.
    void setMenu(QMenu* menu);
    QMenu* menu() const { return m_menu; }
    QMenu* pendingMenu() const { return m_pending; }

    void show();
    bool isVisible() const { return m_tray.isVisible(); }

    // Shows the menu beside the tray icon when the tray host reports where the
    // icon is, else at the given point (the cursor when none).
    void popUpMenu(std::optional<QPoint> at = std::nullopt);
    // Where the menu opens for an icon at `iconGeometry` (empty when unknown).
    QPoint menuPosition(const QRect& iconGeometry, std::optional<QPoint> pointer) const;

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void install(QMenu* menu);
    void swapInPendingMenu();

    QSystemTrayIcon m_tray;
    QPointer<QMenu> m_menu;
    QPointer<QMenu> m_pending;
};

} // namespace ovrel
