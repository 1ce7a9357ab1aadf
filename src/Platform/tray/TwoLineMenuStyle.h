#pragma once

#include <QProxyStyle>

namespace ovrel {

// Draws menu items whose text is "title\nsubtitle" on two lines: the title in
// the menu font, the subtitle smaller and dimmed. Everything else (hover,
// keyboard navigation, icons) stays the platform style's own.
class TwoLineMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    TwoLineMenuStyle();

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;

    static constexpr int kVerticalPadding = 4;

    // The second line's font: the menu font made smaller.
    static QFont subtitleFont(const QFont& base);
};

} // namespace ovrel
