#include "Platform/tray/MenuLabel.h"

#include <QTextDocument>

namespace ovrel::MenuLabel {

namespace {
bool breaksTheLine(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}
} // namespace

QString singleLine(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (breaksTheLine(c))
            c = QLatin1Char(' ');
    }
    return out;
}

QString forAction(const QString& text) {
    QString out = singleLine(text);
    out.replace(QLatin1Char('&'), QLatin1String("&&"));
    return out;
}

QString shownText(const QString& actionText) {
    QString out;
    out.reserve(actionText.size());
    for (qsizetype i = 0; i < actionText.size(); ++i) {
        // "&&" shows one ampersand; a single "&" marks a mnemonic and is not shown.
        if (actionText[i] == QLatin1Char('&') && i + 1 < actionText.size())
            ++i;
        out.append(actionText[i]);
    }
    return out;
}

QString forToolTip(const QString& text) {
    // A tooltip that looks like markup is rendered as markup: escape only those.
    if (!Qt::mightBeRichText(text))
        return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

} // namespace ovrel::MenuLabel
