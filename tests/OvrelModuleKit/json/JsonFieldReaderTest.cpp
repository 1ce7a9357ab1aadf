#include "OvrelModuleKit/json/JsonFieldReader.h"

#include <gtest/gtest.h>

namespace reader = ovrel::JsonFieldReader;

namespace {

QJsonObject object(const char* json) {
    const std::optional<QJsonObject> parsed = reader::parseObject(QByteArray(json));
    EXPECT_TRUE(parsed.has_value()) << json;
    return parsed.value_or(QJsonObject());
}

} // namespace

TEST(JsonFieldReader, OnlyObjectsAreDocuments) {
    for (const char* json : {"[]", "\"s\"", "1", "null", "", "{", "{}x", "{\"a\":1,}"})
        EXPECT_FALSE(reader::parseObject(QByteArray(json))) << json;
    EXPECT_TRUE(reader::parseObject(" {\"a\":1} \n"));
}

TEST(JsonFieldReader, MissingAndNullAreAbsentOtherTypesAreWrong) {
    const QJsonObject o = object(R"({"s":"x","n":null,"b":true,"d":2.5,"a":[1]})");
    EXPECT_TRUE(reader::string(o, QLatin1String("s")).isPresent());
    EXPECT_EQ(reader::string(o, QLatin1String("s")).value, "x");
    EXPECT_EQ(reader::string(o, QLatin1String("missing")).state,
              ovrel::JsonField<QString>::State::absent);
    EXPECT_EQ(reader::string(o, QLatin1String("n")).state,
              ovrel::JsonField<QString>::State::absent);
    EXPECT_TRUE(reader::string(o, QLatin1String("b")).isWrongType());
    EXPECT_TRUE(reader::boolean(o, QLatin1String("s")).isWrongType());
    EXPECT_TRUE(reader::number(o, QLatin1String("a")).isWrongType());
    EXPECT_TRUE(reader::array(o, QLatin1String("d")).isWrongType());
    EXPECT_EQ(reader::number(o, QLatin1String("d")).valueOr(0), 2.5);
    EXPECT_EQ(reader::boolean(o, QLatin1String("missing")).valueOr(true), true);
}

TEST(JsonFieldReader, IntegersAreWholeAndExact) {
    const QJsonObject o = object(R"({"max":9223372036854775807,"min":-9223372036854775808,
        "odd":9007199254740993,"one":1.0,"zero":0,"half":1.5,"big":9223372036854775808,
        "exp":1e3,"tiny":1e-300})");
    EXPECT_EQ(reader::integer(o, QLatin1String("max")).value, 9223372036854775807LL);
    EXPECT_EQ(reader::integer(o, QLatin1String("min")).value, (-9223372036854775807LL - 1));
    EXPECT_EQ(reader::integer(o, QLatin1String("odd")).value, 9007199254740993LL);
    EXPECT_EQ(reader::integer(o, QLatin1String("one")).value, 1);
    EXPECT_TRUE(reader::integer(o, QLatin1String("zero")).isPresent());
    EXPECT_EQ(reader::integer(o, QLatin1String("exp")).value, 1000);
    for (const char* key : {"half", "big", "tiny"})
        EXPECT_TRUE(reader::integer(o, QLatin1String(key)).isWrongType()) << key;
}
