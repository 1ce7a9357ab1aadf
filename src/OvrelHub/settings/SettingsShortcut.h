#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace ovrel {

// Ctrl+, opens the settings from any window of the hub, as the "Settings…"
// item's key equivalent says. A tray program has the keyboard only while one
// of its windows is active, so that is where the key can arrive; asking the
// desktop for a global shortcut would take a combination from every other
// program. The open status menu answers the key itself (MenuKeyEquivalents),
// and in the settings window the key only brings it forward, so the pane in
// use is kept. A shortcut being recorded takes the key first (its filter is
// installed later). Watches the application; main thread.
class SettingsShortcut : public QObject {
    Q_OBJECT
public:
    // `open` opens the settings window; `settingsWindow` is the open one, if any.
    SettingsShortcut(std::function<void()> open, std::function<QWidget*()> settingsWindow,
                     QObject* parent = nullptr);
    ~SettingsShortcut() override;

    static bool matches(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_open;
    std::function<QWidget*()> m_settingsWindow;
};

} // namespace ovrel
