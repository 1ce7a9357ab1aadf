#include "OvrelHub/settings/HotkeyRow.h"

#include "OvrelConfig/HotkeyDisplay.h"
#include "OvrelConfig/KeyCodes.h"
#include "OvrelConfig/Loc.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace ovrel {

HotkeyRow::HotkeyRow(const QString& title, std::optional<Hotkey> hotkey, Accept accept,
                     std::function<void()> onDelete, AppLanguage language, QWidget* parent)
    : QWidget(parent), m_hotkey(std::move(hotkey)), m_accept(std::move(accept)),
      m_onDelete(std::move(onDelete)), m_lang(language) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(title);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    layout->addWidget(label, 1);
    m_key = new QPushButton();
    // Rows line up for the common combinations; longer ones widen their button.
    m_key->setMinimumWidth(
        m_key->fontMetrics().horizontalAdvance(QStringLiteral("Ctrl+Alt+Shift+K")) + 32);
    m_delete = new QPushButton(Loc::t(LocKey::delete_, m_lang));
    layout->addWidget(m_key);
    layout->addWidget(m_delete);
    label->setBuddy(m_key);
    connect(m_key, &QPushButton::clicked, this, &HotkeyRow::beginRecording);
    connect(m_delete, &QPushButton::clicked, this, [this] {
        setHotkey(std::nullopt);
        if (m_onDelete)
            m_onDelete();
    });
    refresh();
}

HotkeyRow::~HotkeyRow() {
    cancelRecording();
}

void HotkeyRow::setHotkey(std::optional<Hotkey> hotkey) {
    m_hotkey = std::move(hotkey);
    refresh();
}

void HotkeyRow::refresh() {
    if (m_recording)
        m_key->setText(Loc::t(LocKey::pressAKey, m_lang));
    else
        m_key->setText(m_hotkey ? HotkeyDisplay::desktopText(*m_hotkey)
                                : Loc::t(LocKey::notAssigned, m_lang));
    m_delete->setEnabled(m_hotkey.has_value());
}

void HotkeyRow::beginRecording() {
    if (m_recording)
        return;
    m_recording = true;
    qApp->installEventFilter(this);
    refresh();
}

void HotkeyRow::cancelRecording() {
    if (!m_recording)
        return;
    qApp->removeEventFilter(this);
    m_recording = false;
    refresh();
}

bool HotkeyRow::eventFilter(QObject* watched, QEvent* event) {
    if (!m_recording)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Claim every key while recording, so no window shortcut (Ctrl+W) fires.
        event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);

    const auto* key = static_cast<QKeyEvent*>(event);
    const ModifierFlags flags = KeyCodes::modifierFlags(key->modifiers());
    const bool modified = flags.control || flags.shift || flags.option || flags.command;
    const std::optional<qint64> code = KeyCodes::keycode(*key);
    // A modifier pressed on its own is the start of a combination, not a key.
    if (!modified || !code)
        return true;
    const Hotkey recorded(*code, flags);
    cancelRecording();
    if (m_accept && m_accept(recorded))
        setHotkey(recorded);
    return true;
}

} // namespace ovrel
