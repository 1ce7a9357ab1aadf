#include "OvrelHub/menu/ModuleGridView.h"

#include "OvrelHub/menu/GridIconMetrics.h"
#include "Platform/tray/SymbolIcons.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace ovrel {

namespace {

constexpr int kSpacing = 2;
constexpr int kTitlePointSize = 11;
constexpr int kSubtitlePointSize = 9;

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
    setFixedSize(GridIconMetrics::cellWidth, GridIconMetrics::cellHeight);
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    setToolTip(m_cell.title + QStringLiteral(" — ") + m_cell.subtitle);
    setCursor(Qt::PointingHandCursor);
}

void CellButton::enterEvent(QEnterEvent*) {
    m_hovering = true;
    update();
}

void CellButton::leaveEvent(QEvent*) {
    m_hovering = false;
    update();
}

void CellButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        m_cell.run)
        m_cell.run();
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

    QFont titleFont = font();
    titleFont.setPointSize(kTitlePointSize);
    titleFont.setWeight(QFont::Medium);
    QFont subtitleFont = font();
    subtitleFont.setPointSize(kSubtitlePointSize);
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
    int y = GridIconMetrics::padding;
    for (auto& row : rows) {
        int x = GridIconMetrics::padding;
        for (auto& cell : row) {
            auto* button = new CellButton(std::move(cell), this);
            button->move(x, y);
            x += GridIconMetrics::cellWidth;
        }
        y += GridIconMetrics::cellHeight;
    }
}

} // namespace ovrel
