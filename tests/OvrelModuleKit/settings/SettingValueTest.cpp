#include "OvrelModuleKit/settings/SettingValue.h"
#include "OvrelModuleKit/json/JsonDecodingError.h"
#include "OvrelModuleKit/json/JsonReader.h"
#include "OvrelModuleKit/settings/SettingSpec.h"

#include <gtest/gtest.h>

using namespace ovrel;

namespace {

SettingValue decodeValue(const char* json) {
    return SettingValue::decode(*JsonReader::parse(QByteArray(json)));
}
SettingSpec decodeSpec(const char* json) {
    return SettingSpec::decode(*JsonReader::parse(QByteArray(json)));
}

} // namespace

TEST(SettingValue, DecodesBooleanThenIntegerThenString) {
    EXPECT_EQ(decodeValue("true"), SettingValue::fromBool(true));
    EXPECT_EQ(decodeValue("false"), SettingValue::fromBool(false));
    EXPECT_EQ(decodeValue("1"), SettingValue::fromInt(1));
    EXPECT_EQ(decodeValue("0"), SettingValue::fromInt(0));
    EXPECT_EQ(decodeValue("\"1\""), SettingValue::fromString("1"));
    EXPECT_EQ(decodeValue("\"true\""), SettingValue::fromString("true"));
    EXPECT_EQ(decodeValue("-9223372036854775808"),
              SettingValue::fromInt(std::numeric_limits<qint64>::min()));
    EXPECT_EQ(decodeValue("3.0"), SettingValue::fromInt(3));
}

TEST(SettingValue, RejectsEverythingElseAsUnknownValue) {
    for (const char* json : {"1.5", "null", "[]", "[true]", "{}", "9223372036854775808", "1e300"}) {
        try {
            decodeValue(json);
            ADD_FAILURE() << json << " decoded";
        } catch (const JsonDecodingError& e) {
            EXPECT_EQ(e.kind(), JsonDecodingError::Kind::dataCorrupted);
            EXPECT_EQ(e.description(), QString::fromUtf8("giá trị cấu hình lạ"));
        }
    }
}

TEST(SettingValue, AccessorsAnswerOnlyForTheirOwnKind) {
    const SettingValue b = SettingValue::fromBool(true);
    const SettingValue i = SettingValue::fromInt(42);
    const SettingValue s = SettingValue::fromString("x");
    EXPECT_EQ(b.boolValue(), true);
    EXPECT_EQ(b.intValue(), std::nullopt);
    EXPECT_EQ(i.intValue(), 42);
    EXPECT_EQ(i.stringValue(), std::nullopt);
    EXPECT_EQ(s.stringValue(), QString("x"));
    EXPECT_EQ(s.boolValue(), std::nullopt);
    EXPECT_FALSE(SettingValue::fromInt(1) == SettingValue::fromBool(true));
    EXPECT_FALSE(SettingValue::fromString("1") == SettingValue::fromInt(1));
}

TEST(SettingValue, ConvertsToJsonExactly) {
    const qint64 big = std::numeric_limits<qint64>::max();
    EXPECT_EQ(SettingValue::fromInt(big).toJson().toInteger(), big);
    EXPECT_EQ(SettingValue::fromInt(big).toQJsonValue().toInteger(), big);
    EXPECT_TRUE(SettingValue::fromBool(false).toQJsonValue().isBool());
    EXPECT_EQ(SettingValue::fromString("ệ").toQJsonValue().toString(), QString::fromUtf8("ệ"));
}

TEST(SettingSpec, DecodesTheFourKinds) {
    const SettingSpec b = decodeSpec(
        R"({"type":"bool","key":"on","label":{"vi":"Bật","en":"On"},"default":true,"group":"g"})");
    EXPECT_EQ(b.kind(), SettingSpec::Kind::boolean);
    EXPECT_EQ(b.key(), "on");
    EXPECT_EQ(b.label().text("en"), QString("On"));
    EXPECT_EQ(b.group(), QString("g"));
    EXPECT_EQ(b.defaultValue(), SettingValue::fromBool(true));

    const SettingSpec i =
        decodeSpec(R"({"type":"int","key":"n","label":{},"default":5,"min":-3,"max":9})");
    EXPECT_EQ(std::get<IntSpec>(i.variant()),
              (IntSpec{"n", LocalizedText(), 5, -3, 9, std::nullopt}));
    EXPECT_EQ(i.defaultValue(), SettingValue::fromInt(5));

    const SettingSpec e = decodeSpec(
        R"({"type":"enum","key":"e","label":{},"default":"b","options":[{"value":"a","label":{"en":"A"}},{"value":"b","label":{}}]})");
    const EnumSpec& es = std::get<EnumSpec>(e.variant());
    ASSERT_EQ(es.options.size(), 2);
    EXPECT_EQ(es.options[0].value, "a");
    EXPECT_EQ(es.options[0].label.text("vi"), QString("A"));
    EXPECT_EQ(e.defaultValue(), SettingValue::fromString("b"));

    const SettingSpec s =
        decodeSpec(R"({"type":"string","key":"s","label":{},"default":"hi","maxLength":-2})");
    EXPECT_EQ(std::get<StringSpec>(s.variant()).maxLength, -2);
    EXPECT_EQ(s.defaultValue(), SettingValue::fromString("hi"));
    EXPECT_FALSE(s.group().has_value());
}

TEST(SettingSpec, UnknownTypeIsDataCorruptionNamingTheType) {
    try {
        decodeSpec(R"({"type":"color","key":"c","label":{},"default":"red"})");
        FAIL() << "decoded";
    } catch (const JsonDecodingError& e) {
        EXPECT_EQ(e.kind(), JsonDecodingError::Kind::dataCorrupted);
        EXPECT_EQ(e.description(), QString::fromUtf8("kiểu cấu hình lạ: color"));
    }
    EXPECT_THROW(decodeSpec(R"({"type":"Bool","key":"c","label":{},"default":true})"),
                 JsonDecodingError);
    EXPECT_THROW(decodeSpec(R"({"type":"int","key":"n","label":{},"default":"5","min":0,"max":9})"),
                 JsonDecodingError);
    EXPECT_THROW(decodeSpec(R"({"type":"enum","key":"e","label":{},"default":"a","options":{}})"),
                 JsonDecodingError);
    EXPECT_THROW(decodeSpec(R"({"type":"bool","key":"b","label":{},"default":true,"group":3})"),
                 JsonDecodingError);
}

TEST(SettingSpec, AcceptsOnlyValuesThatFitTheDeclaration) {
    const SettingSpec b = BoolSpec{"b", {}, false, {}};
    EXPECT_TRUE(b.accepts(SettingValue::fromBool(true)));
    EXPECT_FALSE(b.accepts(SettingValue::fromString("true")));
    EXPECT_FALSE(b.accepts(SettingValue::fromInt(1)));

    const SettingSpec i = IntSpec{"i", {}, 0, -1, 10, {}};
    EXPECT_TRUE(i.accepts(SettingValue::fromInt(-1)));
    EXPECT_TRUE(i.accepts(SettingValue::fromInt(10)));
    EXPECT_FALSE(i.accepts(SettingValue::fromInt(11)));
    EXPECT_FALSE(i.accepts(SettingValue::fromInt(-2)));
    EXPECT_FALSE(i.accepts(SettingValue::fromString("5")));

    const SettingSpec e = EnumSpec{"e", {}, "a", {EnumOption{"a", {}}, EnumOption{"b", {}}}, {}};
    EXPECT_TRUE(e.accepts(SettingValue::fromString("b")));
    EXPECT_FALSE(e.accepts(SettingValue::fromString("B")));
    EXPECT_FALSE(e.accepts(SettingValue::fromInt(0)));

    const SettingSpec s = StringSpec{"s", {}, "", 2, {}};
    EXPECT_TRUE(s.accepts(
        SettingValue::fromString(QString::fromUtf8("👨‍👩‍👧‍👦🇻🇳"))));
    EXPECT_FALSE(s.accepts(SettingValue::fromString("abc")));
    EXPECT_FALSE(s.accepts(SettingValue::fromBool(true)));
}
