#include "OvrelHub/settings/PaneStyle.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

namespace ovrel {

namespace {
const QColor kWarning(0xd9, 0x70, 0x06);
} // namespace

QFont PaneStyle::titleFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 1.45);
    font.setBold(true);
    return font;
}

QFont PaneStyle::headlineFont(const QFont& base) {
    QFont font = base;
    font.setBold(true);
    return font;
}

QFont PaneStyle::captionFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.85);
    return font;
}

QLabel* PaneStyle::secondaryLabel(const QString& text, const QFont& font) {
    auto* label = new QLabel(text);
    label->setFont(font);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    return label;
}

void PaneStyle::setWarning(QLabel& label, bool warning) {
    QPalette palette = label.palette();
    const QPalette base = label.parentWidget() ? label.parentWidget()->palette() : QPalette();
    palette.setColor(QPalette::WindowText,
                     warning ? kWarning : base.color(QPalette::PlaceholderText));
    label.setPalette(palette);
}

QColor PaneStyle::warningColor() {
    return kWarning;
}

QLabel* PaneStyle::warningLabel(const QString& text, const QFont& base) {
    QLabel* label = secondaryLabel(text, captionFont(base));
    setWarning(*label, true);
    return label;
}

QFrame* PaneStyle::divider() {
    auto* line = new QFrame();
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* PaneStyle::heading(const QString& text, const QFont& base) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(headlineFont(base));
    label->setContentsMargins(0, 4, 0, 0);
    return label;
}

QGroupBox* PaneStyle::section(const QString& title) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(8);
    return box;
}

} // namespace ovrel
