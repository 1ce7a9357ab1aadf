#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QFrame;
class QGroupBox;
class QLabel;
class QWidget;

namespace ovrel {

// The few text styles the settings panes and the What's New window share,
// derived from the style's own font so they follow the desktop and the scale.
namespace PaneStyle {

QFont titleFont(const QFont& base);    // large and bold
QFont headlineFont(const QFont& base); // body size, bold
QFont captionFont(const QFont& base);  // smaller

// A word-wrapping label in the secondary (dimmed) text colour.
QLabel* secondaryLabel(const QString& text, const QFont& font);
// A word-wrapping caption in the warning colour (orange).
QLabel* warningLabel(const QString& text, const QFont& base);
void setWarning(QLabel& label, bool warning);
QColor warningColor();
QFrame* divider();
// A section heading: bold, with a little room above it.
QLabel* heading(const QString& text, const QFont& base);
// A titled group with a vertical layout for its rows.
QGroupBox* section(const QString& title);

} // namespace PaneStyle

} // namespace ovrel
