#include "OvrelModuleKit/text/GraphemeText.h"

#include <QTextBoundaryFinder>

namespace ovrel::GraphemeText {

namespace {

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

QString truncated(const QString& text, int maxCharacters) {
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

} // namespace ovrel::GraphemeText
