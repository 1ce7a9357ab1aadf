#include "OvrelModuleKit/text/Graphemes.h"

#include <gtest/gtest.h>

using ovrel::Graphemes;

TEST(Graphemes, CountsUserPerceivedCharacters) {
    const std::pair<const char*, qint64> cases[] = {
        {"", 0},
        {"abc", 3},
        {"Tiếng Việt", 10},
        {"e\xcc\xa3\xcc\x82", 1}, // ệ from e + two combining marks
        {"\r\n", 1},
        {"👍🏽", 1},                  // skin tone modifier
        {"👨‍👩‍👧‍👦", 1}, // family joined by zero-width joiners
        {"🇻🇳", 1},
        {"🇻🇳🇫🇷🇻", 3}, // a lone indicator after two flags
        {"👍🇻🇳", 2},   // emoji, then a flag
        {"👍🇻🇳🇻🇳🇻", 4},
        {"👨‍👩‍👧‍👦🇻🇳", 2},
        {"각", 1}, // jamo sequence
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Graphemes::count(QString::fromUtf8(text)), expected) << text;
}

TEST(Graphemes, AtMostStopsAtTheLimit) {
    const QString flags = QString::fromUtf8("🇻🇳").repeated(5);
    EXPECT_TRUE(Graphemes::atMost(flags, 5));
    EXPECT_FALSE(Graphemes::atMost(flags, 4));
    EXPECT_TRUE(Graphemes::atMost("", 0));
    EXPECT_FALSE(Graphemes::atMost("", -1));
    EXPECT_FALSE(Graphemes::atMost("a", 0));
    // A very long run of indicators is handled in one pass.
    const QString run = QString::fromUtf8("🇻").repeated(200001);
    EXPECT_EQ(Graphemes::count(run), 100001);
}

// atMost settles most texts without segmenting them; it must agree with the
// exact count wherever marks, controls and joiners meet.
TEST(Graphemes, AtMostAgreesWithTheExactCount) {
    const char* texts[] = {
        "e\xcc\xa3\xcc\x82"
        "e\xcc\x81", // decomposed Vietnamese
        "\xcc\x81\xcc\x81"
        "abc",                           // marks at the start
        "a\n\xcc\x81\r\n\xcc\x81",       // marks after line breaks
        "a\x01\xcc\x81\xc2\x85\xcc\x81", // marks after C0 and C1 controls
        "a\xe2\x80\x8d\xcc\x81"
        "b",                                     // mark after a zero-width joiner
        "a\xe2\x80\xa8\xcc\x81",                 // mark after a line separator
        "\xe0\xa4\x95\xe0\xa5\x8d\xe0\xa4\xb7",  // Devanagari conjunct
        "\xe1\x84\x80\xe1\x85\xa1\xe1\x86\xa8x", // Hangul jamo
        "\xf0\x9f\x91\x8d\xf0\x9f\x87\xbb\xf0\x9f\x87\xb3\xcc\x81", // emoji, flag, mark
        "a\xe2\x83\x9d\xe2\x83\x9d",                                // enclosing marks
    };
    for (const char* utf8 : texts) {
        const QString text = QString::fromUtf8(utf8);
        const qint64 n = Graphemes::count(text);
        EXPECT_TRUE(Graphemes::atMost(text, n)) << utf8;
        EXPECT_FALSE(Graphemes::atMost(text, n - 1)) << utf8;
    }
    // Marks after unassigned or invisible code points and lone surrogates,
    // which segmentation treats like controls.
    const QString acute(QChar(0x0301));
    const QString invisible[] = {
        QString(QChar(0x2065)),           QString(QChar(0xFFF0)),
        QString(QChar(0xFFF8)),           QString::fromUcs4(U"\U000E0000"),
        QString::fromUcs4(U"\U000E0001"), QString::fromUcs4(U"\U000E0080"),
        QString(QChar(0xD800)),           QString(QChar(0xDC00)),
    };
    for (const QString& start : invisible) {
        const QString text = ("a" + start + acute).repeated(3);
        const qint64 n = Graphemes::count(text);
        SCOPED_TRACE(start.toUtf8().toHex().toStdString());
        EXPECT_TRUE(Graphemes::atMost(text, n));
        EXPECT_FALSE(Graphemes::atMost(text, n - 1));
    }
    // A name of 102 characters does not pass a limit of 100.
    const QString doubled = (QString(QChar(0x2065)) + acute).repeated(51);
    ASSERT_EQ(Graphemes::count(doubled), 102);
    EXPECT_FALSE(Graphemes::atMost(doubled, 100));
}

namespace {
const QString kAcute = QString(QChar(0x0301));
} // namespace

TEST(GraphemesTruncated, CutsAfterWholeCharacters) {
    EXPECT_EQ(Graphemes::truncated("abc", 5), "abc");
    EXPECT_EQ(Graphemes::truncated("abcdef", 3), "abc");
    EXPECT_EQ(Graphemes::truncated("abc", 0), "");
    EXPECT_EQ(Graphemes::truncated(QString::fromUtf8("🇻🇳🇯🇵🇫🇷"), 2), QString::fromUtf8("🇻🇳🇯🇵"));
    EXPECT_EQ(Graphemes::truncated("e" + kAcute + "e" + kAcute + "e", 2),
              "e" + kAcute + "e" + kAcute);
}

TEST(GraphemesTruncated, CharactersLongerThanTheFirstLookStayWhole) {
    // One character of 301 code units, 98 letters, then CR LF (one character)
    // straddling the end of the first 400 units looked at.
    const QString first = "a" + kAcute.repeated(300);
    const QString text = first + QString(98, 'x') + "\r\n" + QString(500, 'y');
    ASSERT_EQ(text.indexOf('\r'), 399);
    EXPECT_EQ(Graphemes::truncated(text, 100), text.left(401));

    const QString zalgo = ("z" + kAcute.repeated(1000)).repeated(150);
    EXPECT_EQ(Graphemes::truncated(zalgo, 100), zalgo.left(100 * 1001));
}
