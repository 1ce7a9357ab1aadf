#include "OvrelHub/settings/WindowPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace ovrel {

namespace {
QScreen* screenUnderPointer() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    return screen ? screen : QGuiApplication::primaryScreen();
}
} // namespace

QSize WindowPlacement::capped(const QSize& wanted) {
    const QScreen* screen = screenUnderPointer();
    if (!screen)
        return wanted;
    return wanted.boundedTo(screen->availableGeometry().size());
}

void WindowPlacement::centreAndRaise(QWidget& window) {
    if (const QScreen* screen = screenUnderPointer()) {
        const QSize size = window.size().boundedTo(screen->availableGeometry().size());
        window.resize(size);
        QRect frame(QPoint(), size);
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace ovrel
