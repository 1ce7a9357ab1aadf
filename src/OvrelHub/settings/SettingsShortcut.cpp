#include "OvrelHub/settings/SettingsShortcut.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace ovrel {

SettingsShortcut::SettingsShortcut(std::function<void()> open,
                                   std::function<QWidget*()> settingsWindow, QObject* parent)
    : QObject(parent), m_open(std::move(open)), m_settingsWindow(std::move(settingsWindow)) {
    QCoreApplication::instance()->installEventFilter(this);
}

SettingsShortcut::~SettingsShortcut() {
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool SettingsShortcut::matches(const QKeyEvent& event) {
    const Qt::KeyboardModifiers held = event.modifiers() & ~Qt::KeypadModifier;
    return (event.key() == Qt::Key_Comma && held == Qt::ControlModifier) ||
           event.matches(QKeySequence::Preferences);
}

bool SettingsShortcut::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !matches(*static_cast<QKeyEvent*>(event)))
        return QObject::eventFilter(watched, event);
    // The window system hands the key to the window object first, then to the
    // focused widget: only the widget's delivery counts, so it acts once.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || qobject_cast<QMenu*>(widget->window()))
        return QObject::eventFilter(watched, event);
    QWidget* settings = m_settingsWindow ? m_settingsWindow() : nullptr;
    if (settings && widget->window() == settings) {
        settings->raise();
        settings->activateWindow();
    } else if (m_open) {
        m_open();
    }
    return true;
}

} // namespace ovrel
