#pragma once

#include <QObject>

class QAction;
class QKeyEvent;
class QMenu;

namespace ovrel {

// Makes the key equivalents a menu shows (Ctrl+, and Ctrl+Q) work while that
// menu is open. Qt only honours an action's shortcut when the action sits in
// a window or a menu bar, never in a menu popped up on its own, and the open
// menu holds the keyboard. Watches the menu and its submenus; a combination
// that belongs to an enabled item closes the menu and chooses that item.
class MenuKeyEquivalents : public QObject {
    Q_OBJECT
public:
    // Owned by the menu.
    static void install(QMenu& menu);

    // The enabled item of `menu` or its submenus whose shortcut the key press is.
    static QAction* find(const QMenu& menu, const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit MenuKeyEquivalents(QMenu& menu);
    QMenu& m_menu;
};

} // namespace ovrel
