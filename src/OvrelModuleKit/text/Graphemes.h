#pragma once

#include <QString>

namespace ovrel {

// Lengths of texts as a person counts them: user-perceived characters (grapheme
// clusters), so "ệ" written as e + two combining marks, a flag or a family emoji
// each count once.
class Graphemes {
public:
    static qint64 count(const QString& text);

    // Whether `text` has at most `limit` characters; stops counting as soon as
    // the answer is known. A negative limit admits nothing.
    static bool atMost(const QString& text, qint64 limit);

    // The first maxCharacters characters of text, so a cut never splits a
    // letter from its accents or an emoji sequence.
    static QString truncated(const QString& text, int maxCharacters);
};

} // namespace ovrel
