#include "Platform/tray/DrawnSymbols.h"

#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <cmath>

namespace ovrel::DrawnSymbols {

namespace {

// Draws a symbol filling a square of `side` pixels.
using Drawing = void (*)(QPainter& painter, int side, const QColor& ink);

class DrawnSymbolEngine : public QIconEngine {
public:
    explicit DrawnSymbolEngine(Drawing drawing) : m_drawing(drawing) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pixmap = render(qRound(std::min(rect.width(), rect.height()) * ratio), mode);
        pixmap.setDevicePixelRatio(ratio);
        const QSizeF side = QSizeF(pixmap.size()) / ratio;
        painter->drawPixmap(QRectF(QPointF(rect.x() + (rect.width() - side.width()) / 2,
                                           rect.y() + (rect.height() - side.height()) / 2),
                                   side),
                            pixmap, QRectF(pixmap.rect()));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return render(std::min(size.width(), size.height()), mode);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : {16, 20, 22, 24, 28, 32, 40, 44, 48, 56, 64})
            sizes.append(QSize(side, side));
        return sizes;
    }
    QIconEngine* clone() const override { return new DrawnSymbolEngine(m_drawing); }
    QString key() const override { return QStringLiteral("OvrelDrawnSymbol"); }

private:
    QPixmap render(int side, QIcon::Mode mode) const {
        side = std::max(side, 4);
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        const QPalette palette = QGuiApplication::palette();
        const QColor ink = palette.color(
            mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Normal, QPalette::WindowText);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        m_drawing(painter, side, ink);
        return pixmap;
    }

    Drawing m_drawing;
};

// Four rounded squares, the hub's own mark, with every edge on a whole pixel
// so it is never a blurred scale.
void gridMark(QPainter& p, int side, const QColor&) {
    const int gap = std::max(1, qRound(side / 8.0));
    const int cell = (side - 3 * gap) / 2;
    const int margin = (side - 2 * cell - gap) / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3d, 0x8b, 0xfd));
    const qreal radius = cell / 4.0;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            p.drawRoundedRect(
                QRect(margin + c * (cell + gap), margin + r * (cell + gap), cell, cell), radius,
                radius);
}

// The line drawings are made on a 24-unit square with round 1.8-unit strokes.
void lineStyle(QPainter& p, int side, const QColor& ink) {
    p.scale(side / 24.0, side / 24.0);
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

void gear(QPainter& p, int side, const QColor& ink) {
    lineStyle(p, side, ink);
    constexpr int kTeeth = 8;
    constexpr double kPi = 3.14159265358979323846;
    QPainterPath outline;
    for (int i = 0; i < kTeeth; ++i) {
        const double centre = 2 * kPi * i / kTeeth;
        const double step = 2 * kPi / kTeeth;
        const auto at = [](double angle, double radius) {
            return QPointF(12 + radius * std::cos(angle), 12 + radius * std::sin(angle));
        };
        const QPointF first = at(centre - step * 0.5, 7.4);
        if (i == 0)
            outline.moveTo(first);
        else
            outline.lineTo(first);
        outline.lineTo(at(centre - step * 0.2, 7.4));
        outline.lineTo(at(centre - step * 0.14, 10.2));
        outline.lineTo(at(centre + step * 0.14, 10.2));
        outline.lineTo(at(centre + step * 0.2, 7.4));
    }
    outline.closeSubpath();
    p.drawPath(outline);
    p.drawEllipse(QPointF(12, 12), 3.2, 3.2);
}

void lockShield(QPainter& p, int side, const QColor& ink) {
    lineStyle(p, side, ink);
    QPainterPath shield;
    shield.moveTo(12, 2.5);
    shield.lineTo(19.5, 5.2);
    shield.lineTo(19.5, 11);
    shield.cubicTo(19.5, 16, 16, 19.5, 12, 21.5);
    shield.cubicTo(8, 19.5, 4.5, 16, 4.5, 11);
    shield.lineTo(4.5, 5.2);
    shield.closeSubpath();
    p.drawPath(shield);
    p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawArc(QRectF(9.8, 7.6, 4.4, 5.6), 0, 180 * 16);
    p.drawLine(QPointF(9.8, 10.4), QPointF(9.8, 11.6));
    p.drawLine(QPointF(14.2, 10.4), QPointF(14.2, 11.6));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(8.6, 11.4, 6.8, 5.2), 1, 1);
}

void personInCircle(QPainter& p, int side, const QColor& ink) {
    lineStyle(p, side, ink);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.drawEllipse(QPointF(12, 9.6), 3.2, 3.2);
    QPainterPath shoulders;
    shoulders.moveTo(6.3, 18.6);
    shoulders.cubicTo(7.6, 15.4, 9.6, 14.3, 12, 14.3);
    shoulders.cubicTo(14.4, 14.3, 16.4, 15.4, 17.7, 18.6);
    p.drawPath(shoulders);
}

void closedBook(QPainter& p, int side, const QColor& ink) {
    lineStyle(p, side, ink);
    p.drawRoundedRect(QRectF(5, 3, 14, 18), 2, 2);
    p.drawLine(QPointF(8.6, 3), QPointF(8.6, 21));
    p.drawLine(QPointF(11.5, 7.5), QPointF(16, 7.5));
}

void arrowDownInCircle(QPainter& p, int side, const QColor& ink) {
    lineStyle(p, side, ink);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.drawLine(QPointF(12, 6.8), QPointF(12, 16.6));
    p.drawPolyline(QPolygonF({QPointF(8, 12.8), QPointF(12, 16.8), QPointF(16, 12.8)}));
}

void bag(QPainter& p, int side, const QColor& ink) {
    lineStyle(p, side, ink);
    p.drawRoundedRect(QRectF(4.5, 8, 15, 12.5), 2, 2);
    QPainterPath handle;
    handle.moveTo(9, 10.5);
    handle.lineTo(9, 6.5);
    handle.arcTo(QRectF(9, 3.5, 6, 6), 180, -180);
    handle.lineTo(15, 10.5);
    p.drawPath(handle);
}

void app(QPainter& p, int side, const QColor& ink) {
    lineStyle(p, side, ink);
    // A window: a rounded frame under a title bar.
    p.drawRoundedRect(QRectF(3.5, 4, 17, 16), 3, 3);
    p.drawLine(QPointF(3.5, 8.5), QPointF(20.5, 8.5));
}

const QHash<QString, Drawing>& drawings() {
    static const QHash<QString, Drawing> table{
        {QStringLiteral("square.grid.2x2"), &gridMark},
        {QStringLiteral("gearshape"), &gear},
        {QStringLiteral("lock.shield"), &lockShield},
        {QStringLiteral("person.crop.circle"), &personInCircle},
        {QStringLiteral("book.closed"), &closedBook},
        {QStringLiteral("arrow.down.circle"), &arrowDownInCircle},
        {QStringLiteral("bag"), &bag},
        {QStringLiteral("app"), &app},
    };
    return table;
}

} // namespace

QIcon icon(const QString& symbol) {
    const Drawing drawing = drawings().value(symbol, nullptr);
    return drawing ? QIcon(new DrawnSymbolEngine(drawing)) : QIcon();
}

} // namespace ovrel::DrawnSymbols
