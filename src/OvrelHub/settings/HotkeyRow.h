#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelConfig/Hotkey.h"

#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace ovrel {

// One command's shortcut: its title, the key button (the shortcut, "Not
// assigned", or "Press a key…" while recording) and "Delete". Pressing the key
// button records the next key pressed anywhere in the application together
// with at least one of Shift, Control, Option (Alt) and Command (Super):
// plain keys, Escape included, and modifier keys alone are swallowed and
// recording goes on. The recorded shortcut is offered to `accept`, which
// stores it when it is free; only an accepted one becomes the row's value.
// Either way recording then stops. "Delete" clears the value and calls onDelete.
class HotkeyRow : public QWidget {
    Q_OBJECT
public:
    using Accept = std::function<bool(const Hotkey&)>;
    HotkeyRow(const QString& title, std::optional<Hotkey> hotkey, Accept accept,
              std::function<void()> onDelete, AppLanguage language, QWidget* parent = nullptr);
    ~HotkeyRow() override;

    const std::optional<Hotkey>& hotkey() const { return m_hotkey; }
    void setHotkey(std::optional<Hotkey> hotkey);
    bool isRecording() const { return m_recording; }
    QPushButton* keyButton() const { return m_key; }
    QPushButton* deleteButton() const { return m_delete; }

    void beginRecording();
    void cancelRecording();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    std::optional<Hotkey> m_hotkey;
    Accept m_accept;
    std::function<void()> m_onDelete;
    AppLanguage m_lang;
    bool m_recording = false;
    QPushButton* m_key = nullptr;
    QPushButton* m_delete = nullptr;
};

} // namespace ovrel
