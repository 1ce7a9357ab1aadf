#include "Platform/tray/MenuKeyEquivalents.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace ovrel {

MenuKeyEquivalents::MenuKeyEquivalents(QMenu& menu) : QObject(&menu), m_menu(menu) {}

void MenuKeyEquivalents::install(QMenu& menu) {
    if (menu.findChild<MenuKeyEquivalents*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    menu.installEventFilter(new MenuKeyEquivalents(menu));
}

QAction* MenuKeyEquivalents::find(const QMenu& menu, const QKeyEvent& event) {
    // Only combinations with a modifier: plain keys choose items by their letters.
    if (!(event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier)))
        return nullptr;
    const QKeySequence pressed(event.keyCombination());
    for (QAction* action : menu.actions()) {
        if (!action->isEnabled() || action->isSeparator())
            continue;
        if (!action->shortcut().isEmpty() &&
            action->shortcut().matches(pressed) == QKeySequence::ExactMatch)
            return action;
        if (const QMenu* sub = action->menu()) {
            if (QAction* found = find(*sub, event))
                return found;
        }
    }
    return nullptr;
}

bool MenuKeyEquivalents::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    // A submenu forwards to the menu it opened from, so the whole tree is searched.
    const QMenu* root = &m_menu;
    while (const auto* parent = qobject_cast<const QMenu*>(root->parentWidget()))
        root = parent;
    QAction* action = find(*root, *static_cast<QKeyEvent*>(event));
    if (!action)
        return QObject::eventFilter(watched, event);
    // Close every open level first, as choosing the item with the pointer does.
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    action->trigger();
    return true;
}

} // namespace ovrel
