#include "OvrelHub/menu/ModuleGridView.h"

#include "OvrelHub/menu/GridIconMetrics.h"
#include "Platform/tray/MenuLabel.h"
#include "Platform/tray/SymbolIcons.h"
#include "Platform/tray/TwoLineMenuStyle.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace ovrel {

namespace {

constexpr int kSpacing = 2;
constexpr qreal kFocusRingWidth = 2;

// Lays out text in at most `maxLines` lines of `width`, eliding the last one.
QStringList wrapped(const QString& text, const QFont& font, int width, int maxLines) {
    QStringList lines;
    QTextLayout layout(text, font);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            lines.append(
                QFontMetrics(font).elidedText(text.mid(line.textStart()), Qt::ElideRight, width));
            break;
        }
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

} // namespace

CellButton::CellButton(ModuleGridCell cell, QWidget* parent)
    : QWidget(parent), m_cell(std::move(cell)) {
    m_cell.title = MenuLabel::singleLine(m_cell.title);
    m_cell.subtitle = MenuLabel::singleLine(m_cell.subtitle);
    setFixedSize(GridIconMetrics::cellWidth, GridIconMetrics::cellHeight);
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    setToolTip(MenuLabel::forToolTip(m_cell.title + QStringLiteral(" — ") + m_cell.subtitle));
    setCursor(Qt::PointingHandCursor);
}

void CellButton::setKeyboardFocus(bool on) {
    if (m_keyboardFocus == on)
        return;
    m_keyboardFocus = on;
    update();
}

void CellButton::run() const {
    if (m_cell.run)
        m_cell.run();
}

// The list's fonts: the title in the menu font, the summary as a two-line
// item's second line, so grid and list read alike at every scale.
QFont CellButton::titleFont() const {
    QFont title = font();
    title.setWeight(QFont::Medium);
    return title;
}

QFont CellButton::subtitleFont() const {
    return TwoLineMenuStyle::subtitleFont(font());
}

void CellButton::enterEvent(QEnterEvent*) {
    m_hovering = true;
    update();
}

void CellButton::leaveEvent(QEvent*) {
    m_hovering = false;
    update();
}

void CellButton::hideEvent(QHideEvent*) {
    // A menu that closes under the pointer sends no leave event: the clicked
    // cell would still be highlighted when the menu opens again.
    m_hovering = false;
}

void CellButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        run();
}

void CellButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor text = palette().color(QPalette::WindowText);
    if (m_hovering) {
        QColor fill = text;
        fill.setAlphaF(0.1f);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), GridIconMetrics::hoverCornerRadius,
                            GridIconMetrics::hoverCornerRadius);
        p.fillPath(path, fill);
    }
    if (m_keyboardFocus) {
        QPen ring(palette().color(QPalette::Highlight), kFocusRingWidth);
        p.setPen(ring);
        p.setBrush(Qt::NoBrush);
        const qreal inset = kFocusRingWidth / 2;
        p.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset),
                          GridIconMetrics::hoverCornerRadius, GridIconMetrics::hoverCornerRadius);
    }

    const QFont titleFont = this->titleFont();
    const QFont subtitleFont = this->subtitleFont();
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics subtitleMetrics(subtitleFont);
    const int textWidth = width() - 8;
    const QStringList subtitleLines = wrapped(m_cell.subtitle, subtitleFont, textWidth, 2);

    // The stack is centred vertically: icon, title, subtitle lines.
    const int contentHeight =
        GridIconMetrics::iconSide + kSpacing + titleMetrics.height() + kSpacing +
        static_cast<int>(subtitleLines.size()) * subtitleMetrics.lineSpacing();
    int y = std::max(0, (height() - contentHeight) / 2);

    const QRect iconRect((width() - GridIconMetrics::iconSide) / 2, y, GridIconMetrics::iconSide,
                         GridIconMetrics::iconSide);
    if (!m_cell.icon.isNull()) {
        m_cell.icon.paint(&p, iconRect);
    } else {
        // No bundle icon: a dashed app outline stands in.
        QPen pen(text, 1.5, Qt::DashLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(iconRect).adjusted(6, 6, -6, -6), 6, 6);
    }
    y += GridIconMetrics::iconSide + kSpacing;

    p.setPen(text);
    p.setFont(titleFont);
    p.drawText(QRect(4, y, textWidth, titleMetrics.height()), Qt::AlignHCenter | Qt::AlignTop,
               titleMetrics.elidedText(m_cell.title, Qt::ElideRight, textWidth));
    y += titleMetrics.height() + kSpacing;

    QColor secondary = text;
    secondary.setAlphaF(0.6f);
    p.setPen(secondary);
    p.setFont(subtitleFont);
    for (const QString& line : subtitleLines) {
        p.drawText(QRect(4, y, textWidth, subtitleMetrics.height()),
                   Qt::AlignHCenter | Qt::AlignTop, line);
        y += subtitleMetrics.lineSpacing();
    }
}

ModuleGridView::ModuleGridView(std::vector<std::vector<ModuleGridCell>> rows, int columns,
                               QWidget* parent)
    : QWidget(parent), m_size(GridIconMetrics::gridSize(static_cast<int>(rows.size()), columns)) {
    setFixedSize(m_size);
    setFocusPolicy(Qt::StrongFocus);
    if (parent)
        parent->installEventFilter(this);
    int y = GridIconMetrics::padding;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        int x = GridIconMetrics::padding;
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
            auto* button = new CellButton(std::move(rows[r][c]), this);
            button->move(x, y);
            m_cells.push_back(button);
            m_positions.emplace_back(c, r);
            x += GridIconMetrics::cellWidth;
        }
        y += GridIconMetrics::cellHeight;
    }
}

void ModuleGridView::focusCell(int index) {
    if (m_focused >= 0 && m_focused < static_cast<int>(m_cells.size()))
        m_cells[m_focused]->setKeyboardFocus(false);
    m_focused = index;
    if (index >= 0 && index < static_cast<int>(m_cells.size()))
        m_cells[index]->setKeyboardFocus(true);
}

int ModuleGridView::target(int key) const {
    const QPoint from = m_positions[m_focused];
    QPoint to = from;
    switch (key) {
    case Qt::Key_Left:
        to.rx() -= 1;
        break;
    case Qt::Key_Right:
        to.rx() += 1;
        break;
    case Qt::Key_Up:
        to.ry() -= 1;
        break;
    case Qt::Key_Down:
        to.ry() += 1;
        break;
    default:
        return -1;
    }
    // Down into a shorter last row lands on its last cell.
    int best = -1;
    for (int i = 0; i < static_cast<int>(m_positions.size()); ++i) {
        const QPoint at = m_positions[i];
        if (at == to)
            return i;
        if (key == Qt::Key_Down && at.y() == to.y() && at.x() < to.x())
            best = i;
    }
    return best;
}

void ModuleGridView::keyPressEvent(QKeyEvent* event) {
    if (m_cells.empty() || event->modifiers() & ~Qt::KeypadModifier) {
        event->ignore();
        return;
    }
    if (m_focused < 0)
        focusCell(0);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        m_cells[m_focused]->run();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int next = target(event->key());
        if (next >= 0) {
            focusCell(next);
            return;
        }
        // Left and Right stop at the edge; Up and Down leave for the menu's other rows.
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)
            return;
        event->ignore();
        return;
    }
    default:
        event->ignore();
    }
}

bool ModuleGridView::eventFilter(QObject* watched, QEvent* event) {
    // The menu moves its selection on this key and then hands the grid the focus.
    if (watched == parentWidget() && event->type() == QEvent::KeyPress)
        m_menuKey = static_cast<QKeyEvent*>(event)->key();
    return QWidget::eventFilter(watched, event);
}

void ModuleGridView::focusInEvent(QFocusEvent* event) {
    if (!m_cells.empty() && m_focused < 0) {
        // Arriving from below starts on the first cell of the last row.
        const bool fromBelow = m_menuKey == Qt::Key_Up || event->reason() == Qt::BacktabFocusReason;
        focusCell(fromBelow ? static_cast<int>(m_cells.size()) - 1 - m_positions.back().x() : 0);
    }
    QWidget::focusInEvent(event);
}

void ModuleGridView::focusOutEvent(QFocusEvent* event) {
    focusCell(-1);
    QWidget::focusOutEvent(event);
}

void ModuleGridView::hideEvent(QHideEvent* event) {
    focusCell(-1);
    QWidget::hideEvent(event);
}

} // namespace ovrel
