// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>

#include "hotkey/ShortCut.h"

namespace {

QKeyCombination Keys(Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    return QKeyCombination(modifiers, key);
}

TEST(ShortCut, DefaultIsCtrlShiftRBothWays)
{
    EXPECT_EQ(kDefaultHotKey, 24658);
    EXPECT_EQ(ShortCutToKeyCombination(24658), Keys(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R));
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R)), 24658);
    EXPECT_EQ(ShortCutToKeySequence(24658), QKeySequence(QStringLiteral("Ctrl+Shift+R")));
    EXPECT_EQ(KeySequenceToShortCut(QKeySequence(QStringLiteral("Ctrl+Shift+R"))), 24658);

    const TKeyAndShift decoded = ShortCutToKey(24658);
    EXPECT_EQ(decoded.key, 'R');
    EXPECT_EQ(decoded.shift, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(KeyToShortCut('R', Qt::ControlModifier | Qt::ShiftModifier), 24658);
}

TEST(ShortCut, ModifiersLettersDigitsAndFunctionKeys)
{
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::AltModifier, Qt::Key_F4)), kScAlt | 0x73);
    EXPECT_EQ(ShortCutToKeyCombination(kScAlt | 0x73), Keys(Qt::AltModifier, Qt::Key_F4));
    EXPECT_EQ(ShortCutToKeyCombination(0x70), QKeyCombination(Qt::Key_F1));
    EXPECT_EQ(ShortCutToKeyCombination(0x87), QKeyCombination(Qt::Key_F24));
    EXPECT_EQ(KeyCombinationToShortCut(QKeyCombination(Qt::Key_F25)), 0);

    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::ControlModifier, Qt::Key_0)), kScCtrl | '0');
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::ControlModifier, Qt::Key_9)), kScCtrl | '9');
    EXPECT_EQ(ShortCutToKeyCombination(kScShift | kScAlt | 'A'),
              Keys(Qt::ShiftModifier | Qt::AltModifier, Qt::Key_A));
    EXPECT_EQ(ShortCutToKeyCombination('Z'), QKeyCombination(Qt::Key_Z));

    const TKeyAndShift all = ShortCutToKey(kScShift | kScCtrl | kScAlt | 0x2E);
    EXPECT_EQ(all.key, 0x2E);
    EXPECT_EQ(all.shift, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

TEST(ShortCut, KeypadKeysStayOffTheMainKeys)
{
    EXPECT_EQ(ShortCutToKeyCombination(0x65), Keys(Qt::KeypadModifier, Qt::Key_5));
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::KeypadModifier | Qt::ControlModifier, Qt::Key_5)), kScCtrl | 0x65);
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::KeypadModifier, Qt::Key_Minus)), 0x6D);
    EXPECT_EQ(KeyCombinationToShortCut(QKeyCombination(Qt::Key_Minus)), 0xBD);
    // Keypad keys without a code of their own must not become the main key of the same name.
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::KeypadModifier, Qt::Key_Enter)), 0);
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::KeypadModifier, Qt::Key_Home)), 0);
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::KeypadModifier, Qt::Key_A)), 0);
}

TEST(ShortCut, NamedKeys)
{
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::ControlModifier, Qt::Key_Space)), kScCtrl | 0x20);
    EXPECT_EQ(KeyCombinationToShortCut(QKeyCombination(Qt::Key_PageUp)), 0x21);
    EXPECT_EQ(KeyCombinationToShortCut(QKeyCombination(Qt::Key_Delete)), 0x2E);
    EXPECT_EQ(KeyCombinationToShortCut(QKeyCombination(Qt::Key_Print)), 0x2C);
    EXPECT_EQ(ShortCutToKeyCombination(0x1B), QKeyCombination(Qt::Key_Escape));
    // Qt reports Shift+Tab as Backtab; it is still the Tab key.
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::ShiftModifier, Qt::Key_Backtab)), kScShift | 0x09);
}

TEST(ShortCut, EveryCarriedValueComesBackUnchanged)
{
    int carried = 0;
    for (int value = 0; value <= 0xFFFF; ++value) {
        const std::optional<QKeyCombination> combination = ShortCutToKeyCombination(static_cast<TShortCut>(value));
        if (!combination)
            continue;
        ++carried;
        EXPECT_EQ(KeyCombinationToShortCut(*combination), value) << std::hex << value;
        EXPECT_EQ(KeySequenceToShortCut(ShortCutToKeySequence(static_cast<TShortCut>(value))), value);
    }
    // Letters, digits, F1 to F24 and the named keys, each with the 8 modifier sets.
    EXPECT_EQ(carried, (26 + 10 + 24 + 50) * 8);
}

TEST(ShortCut, TheExtraKeysOfEuropeanKeyboardsAreCarried)
{
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::ControlModifier, Qt::Key_Exclam)), kScCtrl | 0xDF);
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::AltModifier, Qt::Key_Less)), kScAlt | 0xE2);
}

TEST(ShortCut, OnlyKeysThatTypeTextWithNeitherCtrlNorAltTypeText)
{
    for (const TShortCut typing : {TShortCut{'A'}, TShortCut{kScShift | 'A'}, TShortCut{'7'}, TShortCut{0x20},
                                   TShortCut{0x65}, TShortCut{0xBC}, TShortCut{kScShift | 0xDE}, TShortCut{0xE2}})
        EXPECT_TRUE(TypesText(typing)) << std::hex << typing;
    for (const TShortCut command : {TShortCut{kScCtrl | 'A'}, TShortCut{kScAlt | '7'}, TShortCut{0x74 /* F5 */},
                                    TShortCut{kScShift | 0x74}, TShortCut{0x1B}, TShortCut{0x0D}, TShortCut{0}})
        EXPECT_FALSE(TypesText(command)) << std::hex << command;
}

TEST(ShortCut, WhatCannotBeCarriedGivesNothing)
{
    EXPECT_FALSE(ShortCutToKeyCombination(0));
    EXPECT_TRUE(ShortCutToKeySequence(0).isEmpty());
    EXPECT_FALSE(ShortCutToKeyCombination(kScCtrl));         // a modifier with no key
    EXPECT_FALSE(ShortCutToKeyCombination(0x07));            // no key has this code
    EXPECT_FALSE(ShortCutToKeyCombination(0x0100 | 'R'));    // stray bits above the key byte
    EXPECT_FALSE(ShortCutToKeyCombination(kScCtrl | 0x1152));
    EXPECT_EQ(KeyToShortCut(0x152, Qt::ControlModifier), 0);

    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::MetaModifier, Qt::Key_R)), 0);
    EXPECT_EQ(KeyCombinationToShortCut(Keys(Qt::GroupSwitchModifier | Qt::ControlModifier, Qt::Key_R)), 0);
    EXPECT_EQ(KeyCombinationToShortCut(QKeyCombination(Qt::Key_Percent)), 0);
    EXPECT_EQ(KeyCombinationToShortCut(QKeyCombination(Qt::Key_Eacute)), 0);
    EXPECT_EQ(KeyCombinationToShortCut(QKeyCombination(Qt::Key_unknown)), 0);
    EXPECT_EQ(KeyCombinationToShortCut(QKeyCombination(Qt::Key_Control)), 0);

    EXPECT_EQ(KeySequenceToShortCut(QKeySequence()), 0);
    EXPECT_EQ(KeySequenceToShortCut(QKeySequence(QStringLiteral("Ctrl+Shift+R, Ctrl+T"))), 0);
}

}  // namespace
