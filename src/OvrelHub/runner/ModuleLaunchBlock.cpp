#include "OvrelHub/runner/ModuleLaunchBlock.h"

namespace ovrel {

namespace {

bool breaksTheLine(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

QString escaped(QChar c) {
    switch (c.unicode()) {
    case u'\n':
        return QStringLiteral("\\n");
    case u'\r':
        return QStringLiteral("\\r");
    case u'\t':
        return QStringLiteral("\\t");
    default:
        return QStringLiteral("\\u{%1}").arg(c.unicode(), 0, 16);
    }
}

} // namespace

ModuleLaunchBlock::ModuleLaunchBlock(Kind kind, QString value)
    : m_kind(kind), m_value(std::move(value)), m_what(description().toStdString()) {}

QString ModuleLaunchBlock::description() const {
    const QString name = m_kind == Kind::macOSTooOld ? QStringLiteral("macOSTooOld")
                                                     : QStringLiteral("invalidMinMacOS");
    return name + QStringLiteral("(\"") + shownValue() + QStringLiteral("\")");
}

QString ModuleLaunchBlock::shownValue() const {
    QString shown;
    qsizetype kept = 0;
    for (qsizetype i = 0; i < m_value.size(); ++i) {
        if (kept == kMaxShownLength) {
            shown += QChar(0x2026); // …
            break;
        }
        const QChar c = m_value.at(i);
        if (breaksTheLine(c)) {
            shown += escaped(c);
        } else {
            shown += c;
            // A surrogate pair is one character: never cut between its halves.
            if (c.isHighSurrogate() && i + 1 < m_value.size() && m_value.at(i + 1).isLowSurrogate())
                shown += m_value.at(++i);
        }
        ++kept;
    }
    return shown;
}

} // namespace ovrel
