#include "OvrelModuleKit/json/JsonFieldReader.h"

#include <gtest/gtest.h>

namespace reader = ovrel::JsonFieldReader;

namespace {

ovrel::JsonValue object(const char* json) {
    const std::optional<ovrel::JsonValue> parsed = reader::parseObject(QByteArray(json));
    EXPECT_TRUE(parsed.has_value()) << json;
    return parsed.value_or(ovrel::JsonValue());
}

} // namespace

TEST(JsonFieldReader, OnlyObjectsAreDocuments) {
    for (const char* json : {"[]", "\"s\"", "1", "null", "", "{", "{}x", "{\"a\":1,}"})
        EXPECT_FALSE(reader::parseObject(QByteArray(json))) << json;
    EXPECT_TRUE(reader::parseObject(" {\"a\":1} \n"));
}

TEST(JsonFieldReader, MissingAndNullAreAbsentOtherTypesAreWrong) {
    const ovrel::JsonValue o = object(R"({"s":"x","n":null,"b":true,"d":2.5,"a":[1]})");
    EXPECT_TRUE(reader::string(o, u"s").isPresent());
    EXPECT_EQ(reader::string(o, u"s").value, "x");
    EXPECT_EQ(reader::string(o, u"missing").state, ovrel::JsonField<QString>::State::absent);
    EXPECT_EQ(reader::string(o, u"n").state, ovrel::JsonField<QString>::State::absent);
    EXPECT_TRUE(reader::string(o, u"b").isWrongType());
    EXPECT_TRUE(reader::boolean(o, u"s").isWrongType());
    EXPECT_TRUE(reader::number(o, u"a").isWrongType());
    EXPECT_TRUE(reader::array(o, u"d").isWrongType());
    EXPECT_EQ(reader::number(o, u"d").valueOr(0), 2.5);
    EXPECT_EQ(reader::boolean(o, u"missing").valueOr(true), true);
}

TEST(JsonFieldReader, IntegersAreWholeAndExact) {
    const ovrel::JsonValue o = object(R"({"max":9223372036854775807,"min":-9223372036854775808,
        "odd":9007199254740993,"one":1.0,"zero":0,"half":1.5,"big":9223372036854775808,
        "exp":1e3,"tiny":1e-300})");
    EXPECT_EQ(reader::integer(o, u"max").value, 9223372036854775807LL);
    EXPECT_EQ(reader::integer(o, u"min").value, (-9223372036854775807LL - 1));
    EXPECT_EQ(reader::integer(o, u"odd").value, 9007199254740993LL);
    EXPECT_EQ(reader::integer(o, u"one").value, 1);
    EXPECT_TRUE(reader::integer(o, u"zero").isPresent());
    EXPECT_EQ(reader::integer(o, u"exp").value, 1000);
    for (const char* key : {"half", "big", "tiny"})
        EXPECT_TRUE(reader::integer(o, QString::fromUtf8(key)).isWrongType()) << key;
}

TEST(JsonFieldReader, DocumentsGoThroughTheStrictReader) {
    // Qt's parser accepts these; a file another process wrote must not.
    for (const char* json : {R"({"s":"\udead"})", R"({"s":"\ud800x"})", "{\"s\":\"a\x01\"}",
                             "{\"s\":\"\xff\"}", R"({"n":1e400})"})
        EXPECT_FALSE(reader::parseObject(QByteArray(json))) << json;
}

TEST(JsonFieldReader, ArraysAndObjectsPointIntoTheDocument) {
    const ovrel::JsonValue o = object(R"({"a":[1,2],"o":{"k":"v"},"s":"x"})");
    ASSERT_TRUE(reader::array(o, u"a").isPresent());
    EXPECT_EQ(reader::array(o, u"a").value, &o.member(u"a")->toArray());
    ASSERT_TRUE(reader::object(o, u"o").isPresent());
    EXPECT_EQ(reader::object(o, u"o").value->size(), 1u);
    EXPECT_TRUE(reader::object(o, u"a").isWrongType());
    EXPECT_TRUE(reader::array(o, u"o").isWrongType());
    EXPECT_EQ(reader::object(o, u"missing").valueOr(nullptr), nullptr);
}
