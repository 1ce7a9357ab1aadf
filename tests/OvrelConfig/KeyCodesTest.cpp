#include "OvrelConfig/KeyCodes.h"
#include "OvrelConfig/ModuleHotkeyConflict.h"

#include <QKeyEvent>
#include <gtest/gtest.h>
#include <set>

using namespace ovrel;

TEST(KeyCodes, EveryKnownCodeRoundTripsThroughItsQtKey) {
    int known = 0;
    std::set<std::pair<int, bool>> seen;
    for (qint64 code = -1; code < 256; ++code) {
        const std::optional<int> key = KeyCodes::toQtKey(code);
        if (!key)
            continue;
        ++known;
        EXPECT_EQ(KeyCodes::fromQtKey(*key, KeyCodes::isKeypad(code)), code) << code;
        EXPECT_TRUE(seen.insert({*key, KeyCodes::isKeypad(code)}).second) << code;
    }
    // Letters, digits, punctuation, F1-F20, navigation, keypad and the rest.
    EXPECT_EQ(known, 103);
}

TEST(KeyCodes, AgreesWithTheNamedKeysOfManifestDefaults) {
    for (const auto& [name, code] : ModuleHotkeyConflict::keycodes()) {
        if (name.size() != 1)
            continue;
        EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_A + (name[0].unicode() - 'a')), code)
            << name.toStdString();
    }
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Space), 49);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Return), 36);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Tab), 48);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Escape), 53);
}

TEST(KeyCodes, DigitsFunctionKeysAndArrowsHaveTheirMacCodes) {
    const qint64 digits[] = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_0 + d), digits[d]) << d;
    const qint64 functionKeys[] = {122, 120, 99,  118, 96,  97,  98, 100, 101, 109,
                                   103, 111, 105, 107, 113, 106, 64, 79,  80,  90};
    for (int f = 0; f < 20; ++f)
        EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_F1 + f), functionKeys[f]) << f + 1;
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Left), 123);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Right), 124);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Down), 125);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Up), 126);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Backspace), 51);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Delete), 117);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Home), 115);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_End), 119);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_PageUp), 116);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_PageDown), 121);
}

TEST(KeyCodes, ShiftedSymbolsRecordAsTheirKey) {
    const std::pair<int, int> pairs[] = {
        {Qt::Key_Exclam, Qt::Key_1},
        {Qt::Key_At, Qt::Key_2},
        {Qt::Key_NumberSign, Qt::Key_3},
        {Qt::Key_Dollar, Qt::Key_4},
        {Qt::Key_Percent, Qt::Key_5},
        {Qt::Key_AsciiCircum, Qt::Key_6},
        {Qt::Key_Ampersand, Qt::Key_7},
        {Qt::Key_Asterisk, Qt::Key_8},
        {Qt::Key_ParenLeft, Qt::Key_9},
        {Qt::Key_ParenRight, Qt::Key_0},
        {Qt::Key_Underscore, Qt::Key_Minus},
        {Qt::Key_Plus, Qt::Key_Equal},
        {Qt::Key_BraceLeft, Qt::Key_BracketLeft},
        {Qt::Key_BraceRight, Qt::Key_BracketRight},
        {Qt::Key_Bar, Qt::Key_Backslash},
        {Qt::Key_Colon, Qt::Key_Semicolon},
        {Qt::Key_QuoteDbl, Qt::Key_Apostrophe},
        {Qt::Key_Less, Qt::Key_Comma},
        {Qt::Key_Greater, Qt::Key_Period},
        {Qt::Key_Question, Qt::Key_Slash},
        {Qt::Key_AsciiTilde, Qt::Key_QuoteLeft},
        {Qt::Key_Backtab, Qt::Key_Tab},
    };
    for (const auto& [shifted, base] : pairs) {
        ASSERT_TRUE(KeyCodes::fromQtKey(base).has_value()) << base;
        EXPECT_EQ(KeyCodes::fromQtKey(shifted), KeyCodes::fromQtKey(base)) << shifted;
    }
}

TEST(KeyCodes, KeypadHasItsOwnCodesAndFallsBackWithoutNumLock) {
    const qint64 pad[] = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
    for (int d = 0; d <= 9; ++d) {
        EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_0 + d, true), pad[d]) << d;
        EXPECT_TRUE(KeyCodes::isKeypad(pad[d]));
        EXPECT_EQ(KeyCodes::toQtKey(pad[d]), Qt::Key_0 + d);
    }
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Enter, true), 76);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Enter, false), 76);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Plus, true), 69);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Minus, true), 78);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Slash, true), 75);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Asterisk, true), 67);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Period, true), 65);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Equal, true), 81);
    EXPECT_EQ(KeyCodes::fromQtKey(Qt::Key_Home, true), 115);
    EXPECT_FALSE(KeyCodes::isKeypad(18));

    const QKeyEvent event(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(KeyCodes::keycode(event), 87);
}

TEST(KeyCodes, KeysWithoutCodes) {
    for (const int key :
         {int(Qt::Key_Shift), int(Qt::Key_Control), int(Qt::Key_Meta), int(Qt::Key_Alt),
          int(Qt::Key_CapsLock), int(Qt::Key_Eacute), int(Qt::Key_unknown), 0})
        EXPECT_EQ(KeyCodes::fromQtKey(key), std::nullopt) << key;
    for (const qint64 code : {qint64(10), qint64(52), qint64(-1), qint64(1) << 40})
        EXPECT_EQ(KeyCodes::toQtKey(code), std::nullopt) << code;
}

TEST(KeyCodes, ModifierKeysMapOneToOne) {
    EXPECT_EQ(KeyCodes::modifierFlags(Qt::NoModifier), ModifierFlags{});
    EXPECT_EQ(KeyCodes::modifierFlags(Qt::ControlModifier),
              (ModifierFlags{true, false, false, false}));
    EXPECT_EQ(KeyCodes::modifierFlags(Qt::ShiftModifier),
              (ModifierFlags{false, true, false, false}));
    EXPECT_EQ(KeyCodes::modifierFlags(Qt::AltModifier), (ModifierFlags{false, false, true, false}));
    EXPECT_EQ(KeyCodes::modifierFlags(Qt::MetaModifier),
              (ModifierFlags{false, false, false, true}));
    EXPECT_EQ(KeyCodes::modifierFlags(Qt::KeyboardModifiers(Qt::ControlModifier |
                                                            Qt::ShiftModifier | Qt::AltModifier |
                                                            Qt::MetaModifier | Qt::KeypadModifier)),
              (ModifierFlags{true, true, true, true}));
}
