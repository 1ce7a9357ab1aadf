#include "OvrelModuleKit/json/OrderedJsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

using ovrel::JsonEncodingError;
using ovrel::OrderedJsonWriter;

namespace {

QByteArray numberText(double value) {
    OrderedJsonWriter writer;
    writer.number(value);
    return writer.bytes();
}

} // namespace

TEST(OrderedJsonWriter, KeepsKeyOrderAndNestsCompactly) {
    OrderedJsonWriter writer;
    writer.beginObject();
    writer.key(u"z").integer(1);
    writer.key(u"a").beginArray().boolean(true).boolean(false).beginObject().endObject();
    writer.beginArray().endArray().endArray();
    writer.key(u"m").string(u"x");
    writer.endObject();
    EXPECT_EQ(writer.bytes(), R"({"z":1,"a":[true,false,{},[]],"m":"x"})");
    EXPECT_TRUE(writer.isComplete());
}

TEST(OrderedJsonWriter, EscapesOnlyWhatJsonRequires) {
    OrderedJsonWriter writer;
    writer.string(QString::fromUtf8("q\" b\\ /\b\f\n\r\t\x01\x1f\x7f đ 😀"));
    EXPECT_EQ(writer.bytes(), QByteArray("\"q\\\" b\\\\ /\\b\\f\\n\\r\\t\\u0001\\u001f\x7f ") +
                                  QString::fromUtf8("đ 😀\"").toUtf8());
    const QJsonDocument back = QJsonDocument::fromJson("[" + writer.bytes() + "]");
    EXPECT_EQ(back.array().at(0).toString(),
              QString::fromUtf8("q\" b\\ /\b\f\n\r\t\x01\x1f\x7f đ 😀"));
}

TEST(OrderedJsonWriter, RefusesWhatJsonCannotCarry) {
    const double nonFinite[] = {std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity()};
    for (double value : nonFinite) {
        OrderedJsonWriter writer;
        try {
            writer.number(value);
            FAIL() << "encoded " << value;
        } catch (const JsonEncodingError& error) {
            EXPECT_EQ(error.kind(), JsonEncodingError::Kind::nonFiniteNumber);
        }
    }
    const QChar lone[] = {QChar(u'a'), QChar(char16_t(0xD800)), QChar(u'b')};
    const QChar reversed[] = {QChar(char16_t(0xDC00)), QChar(char16_t(0xD800))};
    for (QStringView text : {QStringView(lone, 3), QStringView(reversed, 2)}) {
        OrderedJsonWriter writer;
        EXPECT_THROW(writer.string(text), JsonEncodingError);
    }
}

TEST(OrderedJsonWriter, NumbersUsePlainDigitsWhereTheyAreShort) {
    EXPECT_EQ(numberText(1700000000.0), "1700000000");
    EXPECT_EQ(numberText(1700000000.123456), "1700000000.123456");
    EXPECT_EQ(numberText(0.1), "0.1");
    EXPECT_EQ(numberText(-2.5), "-2.5");
    EXPECT_EQ(numberText(0.0), "0");
    EXPECT_EQ(numberText(1e21), "1e+21");
    EXPECT_EQ(numberText(1.5e-8), "1.5e-08");
    EXPECT_EQ(numberText(std::numeric_limits<double>::max()), "1.7976931348623157e+308");

    OrderedJsonWriter ints;
    ints.beginArray()
        .integer(std::numeric_limits<qint64>::min())
        .integer(std::numeric_limits<qint64>::max())
        .endArray();
    EXPECT_EQ(ints.bytes(), "[-9223372036854775808,9223372036854775807]");
}

TEST(OrderedJsonWriter, DoublesReadBackExactly) {
    QRandomGenerator random(42);
    for (int i = 0; i < 2000; ++i) {
        double value;
        const quint64 bits = random.generate64();
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        OrderedJsonWriter writer;
        writer.beginObject().key(u"v").number(value).endObject();
        const QJsonDocument back = QJsonDocument::fromJson(writer.bytes());
        ASSERT_TRUE(back.isObject()) << writer.bytes().constData();
        EXPECT_EQ(back.object().value(QLatin1String("v")).toDouble(), value)
            << writer.bytes().constData();
    }
}
