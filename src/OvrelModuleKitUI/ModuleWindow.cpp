#include "OvrelModuleKitUI/ModuleWindow.h"

#include "OvrelModuleKit/launch/ModuleDockPresence.h"
#include "OvrelModuleKitUI/ModuleStandardMenu.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace ovrel::ModuleWindow {

namespace {

// Child of a window that holds the presence for it. A close event can still be
// refused by the window, so whether it really closed is looked at once the
// event has been handled.
class PresenceHold : public QObject {
public:
    explicit PresenceHold(QWidget* window) : QObject(window), m_window(window) {
        setObjectName(QLatin1String(kName));
        window->installEventFilter(this);
    }
    ~PresenceHold() override { drop(); }

    static constexpr const char* kName = "ovrel-module-window-presence";

    static PresenceHold* of(const QWidget* window) {
        return static_cast<PresenceHold*>(
            window->findChild<QObject*>(QLatin1String(kName), Qt::FindDirectChildrenOnly));
    }

    bool isHeld() const { return m_held; }

    void take() {
        if (m_held)
            return;
        m_held = true;
        ModuleDockPresence::acquire();
    }

    void drop() {
        if (!m_held)
            return;
        m_held = false;
        ModuleDockPresence::release();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Close) {
            QTimer::singleShot(0, this, [this] {
                if (m_window && !m_window->isVisible())
                    drop();
            });
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    bool m_held = false;
};

PresenceHold* holdFor(QWidget* window) {
    if (PresenceHold* hold = PresenceHold::of(window))
        return hold;
    return new PresenceHold(window);
}

void centre(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace

std::unique_ptr<QMainWindow> make(const QString& title, QSize size, QSize minSize,
                                  QWidget* content) {
    auto window = std::make_unique<QMainWindow>();
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                           Qt::WindowCloseButtonHint);
    window->setCentralWidget(content);
    window->setWindowTitle(title);
    ModuleStandardMenu::attach(window.get());
    // The sizes are those of the content; the menu bar comes on top.
    const int menuHeight = window->menuWidget() ? window->menuWidget()->sizeHint().height() : 0;
    window->resize(size.width(), size.height() + menuHeight);
    window->setMinimumSize(minSize.width(), minSize.height() + menuHeight);
    centre(window.get());
    holdFor(window.get());
    return window;
}

void bringToFront(QWidget* window) {
    if (!window)
        return;
    holdFor(window)->take();
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

bool holdsPresence(const QWidget* window) {
    const PresenceHold* hold = window ? PresenceHold::of(window) : nullptr;
    return hold && hold->isHeld();
}

} // namespace ovrel::ModuleWindow
