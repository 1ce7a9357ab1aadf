#include "Platform/tray/TwoLineMenuStyle.h"

#include "Platform/tray/MenuLabel.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace ovrel {

namespace {

bool isTwoLine(const QStyleOption* option) {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    return item && item->menuItemType == QStyleOptionMenuItem::Normal &&
           item->text.contains(QLatin1Char('\n'));
}

// The two lines as the item shows them (the action text escapes "&").
QStringList shownLines(const QStyleOptionMenuItem& item) {
    const QStringList lines = item.text.split(QLatin1Char('\n'));
    return {MenuLabel::shownText(lines.value(0)), MenuLabel::shownText(lines.value(1))};
}

} // namespace

QFont TwoLineMenuStyle::subtitleFont(const QFont& base) {
    QFont font = base;
    if (base.pixelSize() > 0)
        font.setPixelSize(std::max(6, qRound(base.pixelSize() * 0.85)));
    else
        font.setPointSizeF(std::max(6.0, base.pointSizeF() * 0.85));
    return font;
}

TwoLineMenuStyle::TwoLineMenuStyle()
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

QSize TwoLineMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                         const QSize& size, const QWidget* widget) const {
    if (type != CT_MenuItem || !isTwoLine(option))
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    QStyleOptionMenuItem single(*item);
    const QStringList lines = shownLines(*item);
    single.text = lines.value(0);
    // The menu measured both lines as one; the item is as wide as its longer line.
    const QFontMetrics title(item->font);
    const QFontMetrics subtitle(subtitleFont(item->font));
    const int textWidth = std::max(title.horizontalAdvance(lines.value(0)),
                                   subtitle.horizontalAdvance(lines.value(1)));
    QSize base =
        QProxyStyle::sizeFromContents(type, &single, QSize(textWidth, size.height()), widget);
    base.setHeight(
        std::max(base.height(), title.height() + subtitle.height() + 2 * kVerticalPadding));
    return base;
}

void TwoLineMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (element != CE_MenuItem || !isTwoLine(option)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    const QStringList lines = shownLines(*item);

    // The style draws background, highlight and icon; the text is ours.
    QStyleOptionMenuItem blank(*item);
    blank.text.clear();
    QProxyStyle::drawControl(element, &blank, painter, widget);

    const bool selected = item->state & State_Selected;
    const QPalette::ColorRole role = selected ? QPalette::HighlightedText : QPalette::Text;
    QColor titleColor = item->palette.color(role);
    if (!(item->state & State_Enabled))
        titleColor = item->palette.color(QPalette::Disabled, QPalette::Text);
    QColor subtitleColor = titleColor;
    subtitleColor.setAlphaF(selected ? 0.85f : 0.6f);

    const int iconColumn = std::max(item->maxIconWidth, 20);
    const int left = item->rect.left() + iconColumn + 8;
    const int right = item->rect.right() - 8;
    const QFont smallFont = subtitleFont(item->font);
    const QFontMetrics titleMetrics(item->font);
    const QFontMetrics subtitleMetrics(smallFont);
    const int total = titleMetrics.height() + subtitleMetrics.height();
    int y = item->rect.top() + (item->rect.height() - total) / 2;

    painter->save();
    painter->setFont(item->font);
    painter->setPen(titleColor);
    painter->drawText(QRect(left, y, right - left, titleMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      titleMetrics.elidedText(lines.value(0), Qt::ElideRight, right - left));
    y += titleMetrics.height();
    painter->setFont(smallFont);
    painter->setPen(subtitleColor);
    painter->drawText(QRect(left, y, right - left, subtitleMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      subtitleMetrics.elidedText(lines.value(1), Qt::ElideRight, right - left));
    painter->restore();
}

} // namespace ovrel
