#include "OvrelConfig/Hotkey.h"
#include "JsonCorpus.h"
#include "OvrelConfig/HotkeyDisplay.h"
#include "TestSupport.h"

#include <QDir>
#include <QJsonDocument>
#include <QKeyEvent>
#include <gtest/gtest.h>
#include <limits>

using namespace ovrel;

namespace {

QKeyEvent keyPress(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return QKeyEvent(QEvent::KeyPress, key, modifiers);
}

const QString kCommand = QString(QChar(0x2318));

} // namespace

TEST(HotkeyJson, WritesTheFiveKeysInOrderAndReadsThemBack) {
    const Hotkey hotkey(40, true, false, true, false);
    EXPECT_EQ(hotkey.toJson(),
              R"({"keycode":40,"control":true,"shift":false,"option":true,"command":false})");
    EXPECT_EQ(Hotkey::fromJson(hotkey.toJson()), hotkey);
    EXPECT_EQ(Hotkey::fromJson(QJsonValue(hotkey.toJsonObject())), hotkey);

    const Hotkey all(0, true, true, true, true);
    EXPECT_EQ(all.toJson(),
              R"({"keycode":0,"control":true,"shift":true,"option":true,"command":true})");
    EXPECT_EQ(Hotkey::fromJson(all.toJson()), all);
}

TEST(HotkeyJson, KeycodesBeyondThirtyTwoBitsStayExact) {
    for (const qint64 code :
         {qint64(1) << 40, qint64(9007199254740993), // 2^53 + 1
          std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min(), qint64(-1)}) {
        const Hotkey hotkey(code, false, true, false, true);
        const QByteArray json = hotkey.toJson();
        EXPECT_TRUE(json.startsWith("{\"keycode\":" + QByteArray::number(code) + ","))
            << json.data();
        ASSERT_TRUE(Hotkey::fromJson(json).has_value()) << json.data();
        EXPECT_EQ(Hotkey::fromJson(json)->keycode, code);
        // Through a Qt document (as inside the state file) as well.
        const QJsonDocument document(hotkey.toJsonObject());
        EXPECT_EQ(Hotkey::fromJson(document.toJson()), hotkey);
    }
}

TEST(HotkeyJson, EveryKeyIsRequired) {
    const QStringList keys = {"keycode", "control", "shift", "option", "command"};
    for (const QString& missing : keys) {
        QJsonObject object = Hotkey(12, false, false, true, false).toJsonObject();
        object.remove(missing);
        EXPECT_FALSE(Hotkey::fromJson(QJsonValue(object)).has_value()) << missing.toStdString();
        object.insert(missing, QJsonValue::Null);
        EXPECT_FALSE(Hotkey::fromJson(QJsonValue(object)).has_value()) << missing.toStdString();
    }
}

TEST(HotkeyJson, WrongTypesAndFractionsAreRefused) {
    const char* refused[] = {
        R"({"keycode":1.5,"control":true,"shift":false,"option":false,"command":false})",
        R"({"keycode":"40","control":true,"shift":false,"option":false,"command":false})",
        R"({"keycode":true,"control":true,"shift":false,"option":false,"command":false})",
        R"({"keycode":1e30,"control":true,"shift":false,"option":false,"command":false})",
        R"({"keycode":9223372036854775808,"control":true,"shift":false,"option":false,"command":false})",
        R"({"keycode":40,"control":1,"shift":false,"option":false,"command":false})",
        R"({"keycode":40,"control":true,"shift":"false","option":false,"command":false})",
        R"({"keycode":40,"control":true,"shift":false,"option":[],"command":false})",
        R"({"keycode":40,"control":true,"shift":false,"option":false,"command":{}})",
        R"([40,true,false,false,false])",
        R"("keycode")",
        R"({"keycode":40,"control":true)",
        "",
    };
    for (const char* json : refused)
        EXPECT_FALSE(Hotkey::fromJson(QByteArray(json)).has_value()) << json;
}

TEST(HotkeyJson, WholeNumbersInOtherNotationsAndExtraKeysAreAccepted) {
    const auto a = Hotkey::fromJson(QByteArray(
        R"({"command":true,"keycode":4e1,"shift":false,"option":false,"control":false,"x":1})"));
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(*a, Hotkey(40, false, false, false, true));
    EXPECT_EQ(
        Hotkey::fromJson(QByteArray(
            R"({"keycode":40.0,"control":false,"shift":false,"option":false,"command":true})")),
        Hotkey(40, false, false, false, true));
}

TEST(HotkeyJson, SurvivesEveryFileOfTheJsonCorpus) {
    OVREL_REQUIRE_JSON_CORPUS(files);
    for (const QString& name : files) {
        // None of these documents is a hotkey object.
        EXPECT_FALSE(Hotkey::fromJson(test::readFile(name)).has_value()) << name.toStdString();
    }
}

TEST(HotkeyMatching, KeyAndExactlyTheFourModifiersMustAgree) {
    const Hotkey ctrlShiftK(40, true, true, false, false);
    EXPECT_TRUE(ctrlShiftK.matches(keyPress(Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier)));
    EXPECT_FALSE(ctrlShiftK.matches(keyPress(Qt::Key_K, Qt::ControlModifier)));
    EXPECT_FALSE(ctrlShiftK.matches(
        keyPress(Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)));
    EXPECT_FALSE(ctrlShiftK.matches(
        keyPress(Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier)));
    EXPECT_FALSE(ctrlShiftK.matches(keyPress(Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier)));
    // The numeric-pad and group-switch flags are not modifiers of a shortcut.
    EXPECT_TRUE(ctrlShiftK.matches(
        keyPress(Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier | Qt::GroupSwitchModifier)));

    EXPECT_TRUE(
        Hotkey(12, false, false, true, false).matches(keyPress(Qt::Key_Q, Qt::AltModifier)));
    EXPECT_TRUE(
        Hotkey(49, false, false, false, true).matches(keyPress(Qt::Key_Space, Qt::MetaModifier)));
    EXPECT_FALSE(Hotkey(49, false, false, false, true)
                     .matches(keyPress(Qt::Key_Space, Qt::ControlModifier)));
}

TEST(HotkeyMatching, ShiftedSymbolsAndTheKeypadUseTheirKeysCodes) {
    // Shift+1 arrives as "!" but is the 1 key.
    EXPECT_TRUE(
        Hotkey(18, false, true, false, false).matches(keyPress(Qt::Key_Exclam, Qt::ShiftModifier)));
    const QKeyEvent keypadOne = keyPress(Qt::Key_1, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_TRUE(Hotkey(83, true, false, false, false).matches(keypadOne));
    EXPECT_FALSE(Hotkey(18, true, false, false, false).matches(keypadOne));
}

TEST(HotkeyMatching, RecordingAKeyPress) {
    EXPECT_EQ(Hotkey::fromKeyEvent(keyPress(Qt::Key_K, Qt::MetaModifier | Qt::ShiftModifier)),
              Hotkey(40, false, true, false, true));
    EXPECT_EQ(Hotkey::fromKeyEvent(keyPress(Qt::Key_F5, Qt::AltModifier)),
              Hotkey(96, false, false, true, false));
    EXPECT_EQ(Hotkey::fromKeyEvent(keyPress(Qt::Key_Shift, Qt::ShiftModifier)), std::nullopt);
    EXPECT_EQ(Hotkey::fromKeyEvent(keyPress(Qt::Key_Eacute, Qt::ControlModifier)), std::nullopt);
}

TEST(HotkeyDisplayText, ModifierSymbolsComeInTheirFixedOrder) {
    const QString ctrl(QChar(0x2303)), opt(QChar(0x2325)), shift(QChar(0x21E7));
    for (int bits = 0; bits < 16; ++bits) {
        const Hotkey hotkey(0, bits & 1, bits & 2, bits & 4, bits & 8);
        QString expected;
        if (hotkey.control)
            expected += ctrl;
        if (hotkey.option)
            expected += opt;
        if (hotkey.shift)
            expected += shift;
        if (hotkey.command)
            expected += kCommand;
        EXPECT_EQ(hotkey.modifierPrefix(), expected) << bits;
        EXPECT_EQ(hotkey.label(), expected + "A") << bits;
    }
    EXPECT_EQ(Hotkey(40, true, true, true, true).label(), ctrl + opt + shift + kCommand + "K");
}

TEST(HotkeyDisplayText, SpecialNames) {
    const std::pair<qint64, QString> names[] = {
        {49, "Space"},       {48, "Tab"},         {36, "Return"},
        {51, "Delete"},      {53, "Esc"},         {123, u"\u2190"_qs},
        {124, u"\u2192"_qs}, {125, u"\u2193"_qs}, {126, u"\u2191"_qs},
    };
    for (const auto& [code, name] : names)
        EXPECT_EQ(HotkeyDisplay::name(code), name) << code;
    EXPECT_EQ(Hotkey(49, false, false, false, true).label(), kCommand + "Space");
}

TEST(HotkeyDisplayText, TypedCharactersAreUpperCased) {
    const std::pair<qint64, QString> names[] = {
        {0, "A"},   {40, "K"}, {12, "Q"}, {18, "1"}, {29, "0"}, {27, "-"}, {24, "="},
        {33, "["},  {30, "]"}, {41, ";"}, {39, "'"}, {43, ","}, {47, "."}, {44, "/"},
        {42, "\\"}, {50, "`"}, {83, "1"}, {69, "+"}, {67, "*"}, {65, "."},
    };
    for (const auto& [code, name] : names)
        EXPECT_EQ(HotkeyDisplay::name(code), name) << code;
}

TEST(HotkeyDisplayText, KeysWithoutASingleCharacterShowTheirCode) {
    // Function and navigation keys type no character; 10 and 52 are no ANSI keys.
    for (const qint64 code : {122, 96, 117, 115, 116, 76, 71, 10, 52, 127})
        EXPECT_EQ(HotkeyDisplay::name(code), "Key " + QString::number(code)) << code;
    EXPECT_EQ(HotkeyDisplay::name(65536), "Key 65536");
    EXPECT_EQ(HotkeyDisplay::name(qint64(1) << 40), "Key 1099511627776");
    EXPECT_EQ(HotkeyDisplay::name(-3), "Key -3");
    EXPECT_EQ(Hotkey(122, false, false, false, true).label(), kCommand + "Key 122");
}

TEST(HotkeyDisplayText, TheDesktopWritesModifiersAsWordsInTheirFixedOrder) {
    EXPECT_EQ(HotkeyDisplay::desktopText(Hotkey(40, true, false, true, false)), "Ctrl+Alt+K");
    EXPECT_EQ(HotkeyDisplay::desktopText(Hotkey(40, true, true, true, true)),
              "Ctrl+Alt+Shift+Super+K");
    EXPECT_EQ(HotkeyDisplay::desktopText(Hotkey(43, false, true, false, true)), "Shift+Super+,");
    EXPECT_EQ(HotkeyDisplay::desktopText(Hotkey(0, false, false, false, false)), "A");
}

TEST(HotkeyDisplayText, TheDesktopNamesEveryKeyThatHasAQtKey) {
    const std::pair<qint64, QString> names[] = {
        {40, "K"},   {18, "1"},      {43, ","},         {49, "Space"},
        {48, "Tab"}, {36, "Return"}, {51, "Backspace"}, {117, "Del"},
        {53, "Esc"}, {123, "Left"},  {126, "Up"},       {96, "F5"},
        {122, "F1"}, {115, "Home"},  {83, "Num+1"},     {76, "Num+Enter"},
    };
    for (const auto& [code, name] : names)
        EXPECT_EQ(HotkeyDisplay::desktopKeyName(code), name) << code;
    for (const qint64 code : {10, 52, 65536, -3})
        EXPECT_EQ(HotkeyDisplay::desktopKeyName(code), "Key " + QString::number(code)) << code;
}
