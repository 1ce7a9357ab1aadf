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

    // Takes the menu; the previous one is deleted once it is no longer shown.
    void setMenu(QMenu* menu);
    QMenu* menu() const { return m_menu; }

    void show();
    bool isVisible() const { return m_tray.isVisible(); }

    // Shows the menu near the given point (the cursor when none).
    void popUpMenu(std::optional<QPoint> at = std::nullopt);

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon m_tray;
    QPointer<QMenu> m_menu;
};

} // namespace ovrel
