#include "OvrelModuleKit/json/JsonReader.h"
#include "OvrelModuleKit/json/JsonWriter.h"

#include "JsonCorpus.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace ovrel;

namespace {

std::optional<JsonValue> parse(const QByteArray& bytes) {
    return JsonReader::parse(bytes);
}
bool accepts(const QByteArray& bytes) {
    return parse(bytes).has_value();
}

QByteArray nested(int depth) {
    return QByteArray(depth, '[') + QByteArray(depth, ']');
}

} // namespace

TEST(JsonReader, DistinguishesIntegersFromFractions) {
    const JsonValue v = *parse("[1, -0, 2.0, 1e2, 1.5, 9223372036854775807, -9223372036854775808, "
                               "9223372036854775808, 1E-2]");
    const auto& a = v.toArray();
    EXPECT_EQ(a[0].type(), JsonValue::Type::integer);
    EXPECT_EQ(a[0].toInteger(), 1);
    EXPECT_EQ(a[1].toInteger(), 0);
    EXPECT_EQ(a[2].type(), JsonValue::Type::real);
    EXPECT_EQ(a[2].toInteger(), 2); // whole values written as reals are still integers
    EXPECT_EQ(a[3].toInteger(), 100);
    EXPECT_EQ(a[4].toInteger(), std::nullopt);
    EXPECT_DOUBLE_EQ(a[4].toReal(), 1.5);
    EXPECT_EQ(a[5].toInteger(), std::numeric_limits<qint64>::max());
    EXPECT_EQ(a[6].toInteger(), std::numeric_limits<qint64>::min());
    EXPECT_EQ(a[7].toInteger(), std::nullopt); // 2^63 does not fit
    EXPECT_EQ(a[8].toInteger(), std::nullopt);
}

TEST(JsonReader, RejectsNumbersADoubleCannotHold) {
    EXPECT_FALSE(accepts("[1e400]"));
    EXPECT_FALSE(accepts("[-1e400]"));
    EXPECT_FALSE(accepts("[1e-400]"));
    EXPECT_TRUE(accepts("[123456789012345678901234567890]"));
    for (const char* bad : {"[01]", "[1.]", "[.5]", "[+1]", "[1e]", "[-]", "[0x10]", "[NaN]",
                            "[Infinity]", "[1.5e+]"})
        EXPECT_FALSE(accepts(bad)) << bad;
}

TEST(JsonReader, ValidatesStrings) {
    EXPECT_EQ(parse(R"(["a\u00e9\ud83d\ude00\n\/"])")->toArray()[0].toString(),
              QString::fromUtf8("aé😀\n/"));
    EXPECT_EQ(parse("[\"\xe1\xbb\x87\"]")->toArray()[0].toString(), QString::fromUtf8("ệ"));
    EXPECT_FALSE(accepts(R"(["\ud800"])"));          // unpaired high surrogate
    EXPECT_FALSE(accepts(R"(["\udc00\ud800"])"));    // reversed pair
    EXPECT_FALSE(accepts(R"(["\ud800\u0041"])"));    // high surrogate, then no low one
    EXPECT_FALSE(accepts("[\"\xff\"]"));             // not UTF-8
    EXPECT_FALSE(accepts("[\"\xc0\xaf\"]"));         // overlong
    EXPECT_FALSE(accepts("[\"\xed\xa0\x80\"]"));     // encoded surrogate
    EXPECT_FALSE(accepts("[\"\xf4\x90\x80\x80\"]")); // beyond U+10FFFF
    EXPECT_FALSE(accepts("[\"\xe1\xbb\"]"));         // truncated sequence
    EXPECT_FALSE(accepts("[\"a\tb\"]"));             // raw control character
    EXPECT_FALSE(accepts(R"(["\x"])"));
    EXPECT_FALSE(accepts(R"(["\u12"])"));
    EXPECT_FALSE(accepts("[\"abc"));
    EXPECT_EQ(parse(QByteArray("[\"a\\u0000b\"]"))->toArray()[0].toString(),
              QString::fromUtf8("a\0b", 3));
}

TEST(JsonReader, DocumentStructure) {
    EXPECT_TRUE(accepts(" {\"a\" : [ true , false , null ] }\n"));
    EXPECT_TRUE(accepts("\xEF\xBB\xBF{}"));
    EXPECT_TRUE(accepts("7"));
    for (const char* bad :
         {"", " ", "{} {}", "[1,]", "[,1]", "{\"a\":1,}", "{a:1}", "{\"a\" 1}", "[1 2]", "tru",
          "nul", "[true false]", "\f[]", "{\"a\":1]", "[1}", "\xEF\xBB\xBF"})
        EXPECT_FALSE(accepts(bad)) << bad;
}

TEST(JsonReader, RepeatedMemberNamesKeepTheLastValueInTheFirstPlace) {
    const JsonValue v = *parse(R"({"a":1,"b":2,"a":3})");
    ASSERT_EQ(v.toObject().size(), 2u);
    EXPECT_EQ(v.toObject()[0].first, "a");
    EXPECT_EQ(v.member(u"a")->toInteger(), 3);

    // Large objects take the indexed path.
    QByteArray big = "{";
    for (int i = 0; i < 40; ++i)
        big += "\"k" + QByteArray::number(i) + "\":" + QByteArray::number(i) + ",";
    big += "\"k3\":\"again\",\"k39\":null}";
    const JsonValue large = *parse(big);
    EXPECT_EQ(large.toObject().size(), 40u);
    EXPECT_EQ(large.member(u"k3")->toString(), "again");
    EXPECT_TRUE(large.member(u"k39")->isNull());
    EXPECT_EQ(large.member(u"k20")->toInteger(), 20);
}

TEST(JsonReader, LimitsNestingWithoutExhaustingTheStack) {
    EXPECT_TRUE(accepts(nested(500)));
    EXPECT_TRUE(accepts(nested(JsonReader::kMaxDepth)));
    EXPECT_FALSE(accepts(nested(JsonReader::kMaxDepth + 1)));
    EXPECT_FALSE(accepts(QByteArray(1000000, '[')));
    EXPECT_FALSE(accepts(QByteArray(500000, '{').replace("{", "{\"a\":")));
}

TEST(JsonReader, PrettyWriterOutputReadsBackTheSame) {
    const QByteArray source =
        R"({"b":[1,-9223372036854775808,"x\"\\\n\u0001é😀",{}],"a":{"t":true,"f":false,"n":null,"r":0.25},"e":[]})";
    const JsonValue v = *parse(source);
    const QByteArray pretty = JsonWriter::pretty(v);
    EXPECT_EQ(parse(pretty), v);
    EXPECT_TRUE(pretty.startsWith("{\n  \"b\" : [\n    1,\n"));
    EXPECT_TRUE(pretty.contains("\"x\\\"\\\\\\n\\u0001é😀\""));
}

// The JSON test suite: y_ files must parse and n_ files must not; i_ files may
// go either way but must not bring the reader down.
TEST(JsonReader, JsonTestSuite) {
    OVREL_REQUIRE_JSON_CORPUS(files);
    int seen = 0;
    for (const QString& path : files) {
        const bool ok = accepts(test::readFile(path));
        const QString name = QFileInfo(path).fileName();
        if (name.startsWith("y_")) {
            EXPECT_TRUE(ok) << name.toStdString();
        } else if (name.startsWith("n_")) {
            EXPECT_FALSE(ok) << name.toStdString();
        }
        ++seen;
    }
    EXPECT_GT(seen, 300);
}
