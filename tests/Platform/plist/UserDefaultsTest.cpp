#include "Platform/plist/UserDefaults.h"
#include "Platform/plist/PlistCodec.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <gtest/gtest.h>

using namespace ovrel;

TEST(UserDefaults, TypedValuesRoundTripThroughTheFile) {
    test::TempDir dir;
    UserDefaults d("vn.ovrel.module.clock", dir.path());
    d.set("flag", true);
    d.set("big", qint64(9007199254740993)); // beyond double precision
    d.set("negative", -42);
    d.set("ratio", 0.25);
    d.set("name", QString::fromUtf8("Đồng hồ ⏰"));
    d.set("blob", QByteArray("\x00\x01\xff", 3));
    d.set("list", QVariantList{1, "two", false});
    d.set("map", QVariantMap{{"k", "v"}});
    EXPECT_EQ(d.filePath(), dir.path() + "/vn.ovrel.module.clock.plist");

    UserDefaults fresh("vn.ovrel.module.clock", dir.path());
    EXPECT_EQ(fresh.boolValue("flag"), true);
    EXPECT_EQ(fresh.integer("big"), qint64(9007199254740993));
    EXPECT_EQ(fresh.integer("negative"), -42);
    EXPECT_EQ(fresh.real("ratio"), 0.25);
    EXPECT_EQ(fresh.string("name"), QString::fromUtf8("Đồng hồ ⏰"));
    EXPECT_EQ(fresh.data("blob"), QByteArray("\x00\x01\xff", 3));
    EXPECT_EQ(fresh.array("list")->size(), 3);
    EXPECT_EQ(fresh.dictionary("map")->value("k").toString(), "v");
    EXPECT_FALSE(fresh.contains("absent"));
}

TEST(UserDefaults, ConversionsAreExactOrAbsent) {
    test::TempDir dir;
    UserDefaults d("d", dir.path());
    d.set("text12", "12");
    d.set("textx", "x12");
    d.set("oneDotZero", 1.0);
    d.set("onePointFive", 1.5);
    d.set("yes", "YES");
    EXPECT_EQ(d.integer("text12"), 12);
    EXPECT_FALSE(d.integer("textx").has_value());
    EXPECT_EQ(d.integer("oneDotZero"), 1);
    EXPECT_FALSE(d.integer("onePointFive").has_value()) << "a fraction is never an integer";
    EXPECT_EQ(d.boolValue("yes"), true);
    EXPECT_FALSE(d.string("oneDotZero").has_value());
}

TEST(UserDefaults, SeesWritesOfAnotherProcessAndRemoves) {
    test::TempDir dir;
    UserDefaults a("shared", dir.path());
    UserDefaults b("shared", dir.path());
    a.set("x", 1);
    EXPECT_EQ(b.integer("x"), 1);
    b.set("x", 2);
    EXPECT_EQ(a.integer("x"), 2);
    a.remove("x");
    EXPECT_FALSE(b.contains("x"));
    a.setValues({{"r", 3}, {"c", 4}});
    EXPECT_EQ(b.integer("r"), 3);
    EXPECT_EQ(b.integer("c"), 4);
}

TEST(UserDefaults, UnreadableFilesReadAsEmpty) {
    test::TempDir dir;
    UserDefaults d("bad", dir.path());
    for (const QByteArray& junk :
         {QByteArray("not a plist"),
          QByteArray("<?xml version=\"1.0\"?><plist><array><string>x</string></array></plist>"),
          QByteArray("<plist><dict><key>a</key>"), QByteArray(4096, '\xff'),
          QByteArray("bplist00\x01\x02", 10)}) {
        test::writeFile(d.filePath(), junk);
        EXPECT_TRUE(d.dictionaryRepresentation().isEmpty());
        EXPECT_FALSE(d.contains("a"));
    }
    // Writing over a broken file starts from empty and works.
    d.set("a", 1);
    EXPECT_EQ(d.integer("a"), 1);
}

TEST(PlistCodec, RejectsDeepNestingWithoutCrashing) {
    QByteArray deep = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    for (int i = 0; i < 5000; ++i)
        deep += "<array>";
    for (int i = 0; i < 5000; ++i)
        deep += "</array>";
    deep += "</plist>";
    EXPECT_FALSE(PlistCodec::parse(deep).has_value());
}

TEST(PlistCodec, DatesAndBinaryFormat) {
    const QDateTime when = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    const auto parsed = PlistCodec::parse(PlistCodec::toXml(QVariantMap{{"when", when}}));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->toMap().value("when").toDateTime(), when);
}
