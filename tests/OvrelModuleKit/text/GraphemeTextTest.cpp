#include "OvrelModuleKit/text/GraphemeText.h"

#include <gtest/gtest.h>

using ovrel::GraphemeText::truncated;

namespace {
const QString kAcute = QString(QChar(0x0301));
} // namespace

TEST(GraphemeText, CutsAfterWholeCharacters) {
    EXPECT_EQ(truncated("abc", 5), "abc");
    EXPECT_EQ(truncated("abcdef", 3), "abc");
    EXPECT_EQ(truncated("abc", 0), "");
    EXPECT_EQ(truncated(QString::fromUtf8("🇻🇳🇯🇵🇫🇷"), 2), QString::fromUtf8("🇻🇳🇯🇵"));
    EXPECT_EQ(truncated("e" + kAcute + "e" + kAcute + "e", 2), "e" + kAcute + "e" + kAcute);
}

TEST(GraphemeText, CharactersLongerThanTheFirstLookStayWhole) {
    // One character of 301 code units, 98 letters, then CR LF (one character)
    // straddling the end of the first 400 units looked at.
    const QString first = "a" + kAcute.repeated(300);
    const QString text = first + QString(98, 'x') + "\r\n" + QString(500, 'y');
    ASSERT_EQ(text.indexOf('\r'), 399);
    EXPECT_EQ(truncated(text, 100), text.left(401));

    const QString zalgo = ("z" + kAcute.repeated(1000)).repeated(150);
    EXPECT_EQ(truncated(zalgo, 100), zalgo.left(100 * 1001));
}
