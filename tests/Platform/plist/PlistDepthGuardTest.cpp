#include "Platform/plist/PlistDepthGuard.h"
#include "Platform/plist/PlistCodec.h"

#include <QVariantMap>
#include <QtEndian>
#include <cstdlib>
#include <gtest/gtest.h>
#include <plist/plist.h>

using namespace ovrel;
using PlistDepthGuard::withinDepth;

namespace {

QByteArray nestedXml(int levels) {
    return "<?xml version=\"1.0\"?><plist version=\"1.0\">" +
           QByteArray("<array>").repeated(levels) + QByteArray("</array>").repeated(levels) +
           "</plist>";
}

// A binary property list whose object i is a one-element array holding
// object i + 1 (`refsPerLevel` times), down to a final "false".
QByteArray nestedBinary(int levels, int refsPerLevel = 1, bool cycle = false) {
    QByteArray data("bplist00");
    QList<quint32> offsets;
    auto appendBig32 = [&](quint32 v) {
        char b[4];
        qToBigEndian(v, b);
        data.append(b, 4);
    };
    for (int i = 0; i < levels; ++i) {
        offsets.append(static_cast<quint32>(data.size()));
        if (i < levels - 1 || cycle) {
            if (refsPerLevel < 15) {
                data.append(static_cast<char>(0xA0 | refsPerLevel));
            } else { // the count follows as a one-byte integer object
                data.append('\xAF');
                data.append('\x10');
                data.append(static_cast<char>(refsPerLevel));
            }
            for (int r = 0; r < refsPerLevel; ++r)
                appendBig32(cycle && i == levels - 1 ? 0 : static_cast<quint32>(i + 1));
        } else {
            data.append('\x08');
        }
    }
    const quint64 table = static_cast<quint64>(data.size());
    for (quint32 offset : offsets)
        appendBig32(offset);
    QByteArray trailer(32, '\0');
    trailer[6] = 4;
    trailer[7] = 4;
    qToBigEndian(static_cast<quint64>(levels), trailer.data() + 8);
    qToBigEndian(table, trailer.data() + 24);
    return data + trailer;
}

QByteArray toBinary(const QByteArray& xml) {
    plist_t node = nullptr;
    plist_from_xml(xml.constData(), static_cast<uint32_t>(xml.size()), &node);
    char* bin = nullptr;
    uint32_t length = 0;
    plist_to_bin(node, &bin, &length);
    QByteArray result(bin, static_cast<qsizetype>(length));
    std::free(bin);
    plist_free(node);
    return result;
}

} // namespace

TEST(PlistDepthGuard, DeepXmlIsRefusedBeforeTheParserRecurses) {
    EXPECT_TRUE(PlistCodec::parse(nestedXml(100)).has_value());
    // Deep enough to exhaust the stack of libplist's recursive parser.
    EXPECT_FALSE(PlistCodec::parse(nestedXml(1000000)).has_value());
    EXPECT_TRUE(withinDepth(nestedXml(10), 11));
    EXPECT_FALSE(withinDepth(nestedXml(10), 10));
}

TEST(PlistDepthGuard, XmlMarkupThatIsNotAnElementIsNotCounted) {
    const QByteArray hidden = "<plist><!-- <array><array> --><![CDATA[<array>]]>"
                              "<?pi <array>?><!DOCTYPE x><array/><string>a</string></plist>";
    EXPECT_TRUE(withinDepth(hidden, 2));
    // A quoted "/>" does not make an element empty.
    EXPECT_FALSE(withinDepth("<plist><array a=\"/>\"><array b='/>'></array></array></plist>", 2));
    // Closing a different element than the open one cannot reduce the count.
    EXPECT_FALSE(withinDepth("<plist><array></x><array></x><array></x></plist>", 10));
}

TEST(PlistDepthGuard, DeepBinaryIsRefusedBeforeTheParserRecurses) {
    const auto shallow = PlistCodec::parse(nestedBinary(50));
    ASSERT_TRUE(shallow.has_value());
    EXPECT_EQ(shallow->metaType().id(), QMetaType::QVariantList);
    // About 900 KB: enough to crash an unguarded libplist.
    EXPECT_FALSE(PlistCodec::parse(nestedBinary(100000)).has_value());
    EXPECT_TRUE(withinDepth(nestedBinary(11), 10));
    EXPECT_FALSE(withinDepth(nestedBinary(12), 10));
}

TEST(PlistDepthGuard, BinaryCyclesAndSharedChildrenAreHandled) {
    EXPECT_FALSE(withinDepth(nestedBinary(5, 1, true), 100));
    // Every level refers to the next one 14 times: 14^60 paths, one answer.
    EXPECT_TRUE(withinDepth(nestedBinary(60, 14), 100));
    EXPECT_FALSE(withinDepth(nestedBinary(60, 14), 50));
    EXPECT_TRUE(withinDepth(nestedBinary(60, 20), 100));
    EXPECT_FALSE(withinDepth(nestedBinary(60, 20), 50));
}

TEST(PlistDepthGuard, OrdinaryBinaryPropertyListsStillParse) {
    const QVariantMap info{{"CFBundleIdentifier", "vn.ovrel.module.clock"},
                           {"CFBundleExecutable", "clock"},
                           {"Nested", QVariantMap{{"list", QVariantList{1, "two", 3.5, true}}}}};
    const QByteArray binary = toBinary(PlistCodec::toXml(info));
    ASSERT_TRUE(binary.startsWith("bplist00"));
    const auto parsed = PlistCodec::parse(binary);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->toMap().value("CFBundleExecutable").toString(), QStringLiteral("clock"));
    EXPECT_EQ(parsed->toMap().value("Nested").toMap().value("list").toList().size(), 4);

    QByteArray truncated = binary;
    truncated.chop(5);
    EXPECT_FALSE(PlistCodec::parse(truncated).has_value());
    EXPECT_FALSE(withinDepth("bplist00", 10));
}

TEST(PlistDepthGuard, SharedObjectsCountOncePerPlaceTheyAreUsed) {
    // 14^60 nodes once expanded, in about 3 KB.
    const QByteArray explosive = nestedBinary(60, 14);
    EXPECT_FALSE(PlistDepthGuard::withinBounds(explosive, {100, 1000000}));
    EXPECT_FALSE(PlistCodec::parse(explosive).has_value());
    // Two references per level, 10 levels: 2^9 - 1 arrays and 2^9 "false".
    EXPECT_TRUE(PlistDepthGuard::withinBounds(nestedBinary(10, 2), {100, 1023}));
    EXPECT_FALSE(PlistDepthGuard::withinBounds(nestedBinary(10, 2), {100, 1022}));
    EXPECT_TRUE(PlistCodec::parse(nestedBinary(10, 2)).has_value());
}

TEST(PlistDepthGuard, XmlElementsAreCounted) {
    const QByteArray flat =
        "<plist><array>" + QByteArray("<true/>").repeated(10) + "</array></plist>";
    EXPECT_TRUE(PlistDepthGuard::withinBounds(flat, {10, 12}));
    EXPECT_FALSE(PlistDepthGuard::withinBounds(flat, {10, 11}));
}

TEST(PlistCodecHostileInput, NulInsideXmlIsRefusedBeforeLibplistSeesIt) {
    // libplist aborts the process on these (an assertion in its string accessor).
    EXPECT_FALSE(PlistCodec::parse(QByteArray("<string>\0</string>", 18)).has_value());
    EXPECT_FALSE(
        PlistCodec::parse(QByteArray("<plist><dict><key>a\0b</key><true/></dict></plist>", 49))
            .has_value());
    EXPECT_EQ(PlistCodec::parse("<plist><string>ab</string></plist>")->toString(), "ab");
}

TEST(PlistCodecHostileInput, LargeBinaryArraysReadInLinearTime) {
    QVariantList many;
    for (int i = 0; i < 200000; ++i)
        many.append(i % 2 == 0);
    const QByteArray binary = toBinary(PlistCodec::toXml(many));
    const auto parsed = PlistCodec::parse(binary);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->toList().size(), 200000);
    EXPECT_TRUE(parsed->toList().at(199998).toBool());
}
