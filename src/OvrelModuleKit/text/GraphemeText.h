#pragma once

#include <QString>

namespace ovrel {

// Text limits count user-perceived characters (grapheme clusters), so a cut
// never splits a letter from its accents or an emoji sequence.
namespace GraphemeText {

// The first maxCharacters user-perceived characters of text.
QString truncated(const QString& text, int maxCharacters);

} // namespace GraphemeText

} // namespace ovrel
