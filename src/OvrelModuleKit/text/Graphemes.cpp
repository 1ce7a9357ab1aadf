#include "OvrelModuleKit/text/Graphemes.h"

#include <QTextBoundaryFinder>

namespace ovrel {

namespace {

bool isRegionalIndicator(char32_t cp) {
    return cp >= 0x1F1E6 && cp <= 0x1F1FF;
}

// The code point starting at `pos` and its length in UTF-16 units.
std::pair<char32_t, qsizetype> codePointAt(const QString& text, qsizetype pos) {
    const QChar c = text.at(pos);
    if (c.isHighSurrogate() && pos + 1 < text.size() && text.at(pos + 1).isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text.at(pos + 1)), 2};
    return {c.unicode(), 1};
}

// Regional indicators pair up into flags from the start of their run. Qt 6.4
// gets the pairing wrong after an emoji ("👍🇻🇳" gives three clusters, and longer
// runs pair the wrong neighbours), so boundaries inside a run of indicators are
// decided here: after every second indicator of the run. Qt's boundaries at the
// ends of a run are kept. Boundaries come in ascending order, so one forward
// pass tracks the runs.
class RegionalIndicatorRuns {
public:
    explicit RegionalIndicatorRuns(const QString& text) : m_text(text) {}

    // Advances to `boundary`; returns how many flag boundaries were passed on
    // the way and tells whether `boundary` itself lies inside a run.
    qint64 advanceTo(qsizetype boundary, bool& insideRun) {
        qint64 passed = 0;
        while (m_pos < boundary) {
            const auto [cp, length] = codePointAt(m_text, m_pos);
            m_pos += length;
            m_run = isRegionalIndicator(cp) ? m_run + 1 : 0;
            if (m_run > 0 && m_run % 2 == 0 && indicatorAt(m_pos))
                ++passed;
        }
        insideRun = m_run > 0 && indicatorAt(boundary);
        return passed;
    }

private:
    bool indicatorAt(qsizetype pos) const {
        return pos < m_text.size() && isRegionalIndicator(codePointAt(m_text, pos).first);
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    qint64 m_run = 0;
};

// Whether a mark after cp starts a cluster of its own. Segmentation counts
// unassigned default-ignorable code points (U+2065, U+FFF0..U+FFF8, most of
// U+E0000..U+E0FFF) and lone surrogates as controls; treating every unassigned
// code point so keeps the bound an upper bound.
bool breaksFollowingMarks(QChar::Category category) {
    return category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Other_NotAssigned || category == QChar::Other_Surrogate ||
           category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
}

// An upper bound of the number of clusters, found without segmenting: every code
// point starts a cluster except a nonspacing or enclosing mark, which always
// extends the cluster before it unless it follows a control-like code point
// (breaksFollowingMarks) or starts the text.
qint64 clusterUpperBound(const QString& text) {
    qint64 bound = 0;
    bool previousBreaksMarks = true;
    for (qsizetype pos = 0; pos < text.size();) {
        const auto [cp, length] = codePointAt(text, pos);
        pos += length;
        // No mark lies below U+0300; the controls there are C0, DEL, C1 and the soft hyphen.
        if (cp < 0x300) {
            ++bound;
            previousBreaksMarks = cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0xAD;
            continue;
        }
        // The combining diacritical marks block holds only nonspacing marks.
        if (cp <= 0x36F) {
            if (previousBreaksMarks)
                ++bound;
            previousBreaksMarks = false;
            continue;
        }
        const QChar::Category category = QChar::category(cp);
        const bool mark = category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing;
        if (!mark || previousBreaksMarks)
            ++bound;
        previousBreaksMarks = breaksFollowingMarks(category);
    }
    return bound;
}

// Counts clusters but gives up once `stopAfter` is exceeded.
qint64 countUpTo(const QString& text, qint64 stopAfter) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    RegionalIndicatorRuns runs(text);
    qint64 n = 0;
    while (n <= stopAfter) {
        const qsizetype boundary = finder.toNextBoundary();
        if (boundary == -1)
            break;
        bool insideRun = false;
        n += runs.advanceTo(boundary, insideRun);
        if (!insideRun)
            ++n;
    }
    return n;
}

// Where the maxCharacters-th character of text ends, judged from its first
// `window` code units; -1 when the window is too short to tell. A boundary
// depends only on what precedes it and the one unit after it, so boundaries
// found strictly inside the window are those of the whole text.
qsizetype cutWithin(const QString& text, qsizetype window, int maxCharacters) {
    const bool whole = window >= text.size();
    const QStringView view = whole ? QStringView(text) : QStringView(text).left(window);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, view.data(), int(view.size()));
    for (int kept = 0; kept < maxCharacters; ++kept) {
        const qsizetype position = finder.toNextBoundary();
        if (position < 0)
            return whole ? text.size() : -1;
        if (!whole && position >= window)
            return -1;
    }
    return finder.position();
}

} // namespace

qint64 Graphemes::count(const QString& text) {
    if (text.isEmpty())
        return 0;
    return countUpTo(text, text.size());
}

bool Graphemes::atMost(const QString& text, qint64 limit) {
    if (limit < 0)
        return false;
    // Every cluster takes at least one UTF-16 unit, so short texts need no count;
    // most longer ones are settled by the cheap bound.
    if (text.size() <= limit || clusterUpperBound(text) <= limit)
        return true;
    return countUpTo(text, limit) <= limit;
}

QString Graphemes::truncated(const QString& text, int maxCharacters) {
    if (maxCharacters <= 0)
        return {};
    // Every character takes at least one UTF-16 unit: short texts need no scan.
    if (text.size() <= maxCharacters)
        return text;
    // The finder analyses all the text it is given; a long title is only
    // looked at as far as the cut needs.
    for (qsizetype window = qsizetype(maxCharacters) * 4;; window *= 2) {
        const qsizetype cut = cutWithin(text, window, maxCharacters);
        if (cut >= 0)
            return text.left(cut);
    }
}

} // namespace ovrel
