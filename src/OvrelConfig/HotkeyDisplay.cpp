#include "OvrelConfig/HotkeyDisplay.h"

#include "OvrelConfig/Hotkey.h"
#include "OvrelConfig/KeyCodes.h"

#include <QKeySequence>
#include <QTextBoundaryFinder>

namespace ovrel {

namespace {

constexpr qint64 kTypedCharacterLimit = 65536;

struct SpecialName {
    qint64 keycode;
    const char16_t* name;
};

constexpr SpecialName kSpecialNames[] = {
    {KeyCodes::kSpace, u"Space"},       {KeyCodes::kTab, u"Tab"},
    {KeyCodes::kReturn, u"Return"},     {KeyCodes::kDelete, u"Delete"},
    {KeyCodes::kEscape, u"Esc"},        {KeyCodes::kLeftArrow, u"\u2190"},
    {KeyCodes::kRightArrow, u"\u2192"}, {KeyCodes::kDownArrow, u"\u2193"},
    {KeyCodes::kUpArrow, u"\u2191"},
};

bool isSingleCharacter(const QString& text) {
    if (text.isEmpty())
        return false;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    return finder.toNextBoundary() == text.size();
}

} // namespace

QString HotkeyDisplay::name(qint64 keycode) {
    for (const SpecialName& special : kSpecialNames) {
        if (special.keycode == keycode)
            return QString::fromUtf16(special.name);
    }
    if (keycode < kTypedCharacterLimit) {
        if (const std::optional<int> qtKey = KeyCodes::toQtKey(keycode)) {
            const QString typed = QKeySequence(*qtKey).toString(QKeySequence::NativeText);
            if (isSingleCharacter(typed))
                return typed.toUpper();
        }
    }
    return QStringLiteral("Key ") + QString::number(keycode);
}

QString HotkeyDisplay::desktopText(const Hotkey& hotkey) {
    QString text;
    if (hotkey.control)
        text += QStringLiteral("Ctrl+");
    if (hotkey.option)
        text += QStringLiteral("Alt+");
    if (hotkey.shift)
        text += QStringLiteral("Shift+");
    if (hotkey.command)
        text += QStringLiteral("Super+");
    return text + desktopKeyName(hotkey.keycode);
}

QString HotkeyDisplay::desktopKeyName(qint64 keycode) {
    const std::optional<int> qtKey = KeyCodes::toQtKey(keycode);
    if (!qtKey)
        return QStringLiteral("Key ") + QString::number(keycode);
    const QKeyCombination combination(
        KeyCodes::isKeypad(keycode) ? Qt::KeypadModifier : Qt::NoModifier, Qt::Key(*qtKey));
    const QString text = QKeySequence(combination).toString(QKeySequence::NativeText);
    if (text.isEmpty())
        return QStringLiteral("Key ") + QString::number(keycode);
    return isSingleCharacter(text) ? text.toUpper() : text;
}

} // namespace ovrel
