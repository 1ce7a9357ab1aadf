#pragma once

#include <QString>

namespace ovrel {

// Texts that modules supply (names, summaries, entry titles) reach Qt widgets
// that give some characters a meaning: "&" plants a keyboard mnemonic, a tab
// opens a shortcut column, a line break splits a row, and a tooltip that looks
// like markup is rendered as rich text. These turn any text into what it says.
namespace MenuLabel {

// One line of plain text: every control, line or paragraph separator becomes a space.
QString singleLine(const QString& text);

// For QAction::setText: one line, with "&" doubled so Qt shows it literally.
QString forAction(const QString& text);

// The text an action shows, from what forAction produced.
QString shownText(const QString& actionText);

// For setToolTip: the plain text, never interpreted as markup.
QString forToolTip(const QString& text);

} // namespace MenuLabel

} // namespace ovrel
