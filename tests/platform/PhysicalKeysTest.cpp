// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <map>
#include <set>

#include "platform/linux/PhysicalKeys.h"

namespace {

using platform::PhysicalKeys;
using Row = PhysicalKeys::Row;
constexpr std::uint32_t kNone = 0;  // no symbol at that level

// The rows of a pc105 keyboard that tell layouts apart, as X11 reports them.
const std::vector<Row> kUs = {
    {9, XK_Escape, kNone},    {10, XK_1, XK_exclam},          {11, XK_2, XK_at},
    {19, XK_0, XK_parenright},      {20, XK_minus, XK_underscore},  {21, XK_equal, XK_plus},
    {24, XK_q, XK_Q},               {27, XK_r, XK_R},               {34, XK_bracketleft, XK_braceleft},
    {35, XK_bracketright, XK_braceright}, {36, XK_Return, kNone}, {38, XK_a, XK_A},
    {47, XK_semicolon, XK_colon},   {48, XK_apostrophe, XK_quotedbl}, {49, XK_grave, XK_asciitilde},
    {50, XK_Shift_L, kNone},  {51, XK_backslash, XK_bar},     {58, XK_m, XK_M},
    {59, XK_comma, XK_less},        {60, XK_period, XK_greater},    {61, XK_slash, XK_question},
    {63, XK_KP_Multiply, XK_KP_Multiply}, {65, XK_space, kNone}, {67, XK_F1, XK_F1},
    {87, XK_KP_End, XK_KP_1},       {94, XK_less, XK_greater},      {104, XK_KP_Enter, kNone},
    {121, 0x1008FF12 /* XF86AudioMute */, kNone},
};

const std::vector<Row> kFrench = {
    {9, XK_Escape, kNone},     {10, XK_ampersand, XK_1},        {11, XK_eacute, XK_2},
    {16, XK_egrave, XK_7},           {18, XK_ccedilla, XK_9},         {19, XK_agrave, XK_0},
    {20, XK_parenright, XK_degree},  {21, XK_equal, XK_plus},         {24, XK_a, XK_A},
    {27, XK_r, XK_R},                {34, XK_dead_circumflex, XK_dead_diaeresis}, {35, XK_dollar, XK_sterling},
    {38, XK_q, XK_Q},                {47, XK_m, XK_M},                {48, XK_ugrave, XK_percent},
    {49, XK_twosuperior, kNone}, {51, XK_asterisk, XK_mu},      {58, XK_comma, XK_question},
    {59, XK_semicolon, XK_period},   {60, XK_colon, XK_slash},        {61, XK_exclam, XK_section},
    {65, XK_space, kNone},     {87, XK_KP_End, XK_KP_1},        {94, XK_less, XK_greater},
};

std::map<int, QKeyCombination> Names(const std::vector<Row>& layout)
{
    const PhysicalKeys keys(layout);
    std::map<int, QKeyCombination> names;
    for (const Row& row : layout)
        if (const std::optional<QKeyCombination> key = keys.KeyOf(row.keyCode))
            names.emplace(row.keyCode, *key);
    return names;
}

TEST(PhysicalKeys, OnAUsKeyboardEveryKeyIsWhatItTypesUnshifted)
{
    const std::map<int, QKeyCombination> names = Names(kUs);
    const std::map<int, QKeyCombination> expected = {
        {9, Qt::Key_Escape},       {10, Qt::Key_1},          {11, Qt::Key_2},         {19, Qt::Key_0},
        {20, Qt::Key_Minus},       {21, Qt::Key_Equal},      {24, Qt::Key_Q},         {27, Qt::Key_R},
        {34, Qt::Key_BracketLeft}, {35, Qt::Key_BracketRight}, {36, Qt::Key_Return},  {38, Qt::Key_A},
        {47, Qt::Key_Semicolon},   {48, Qt::Key_Apostrophe}, {49, Qt::Key_QuoteLeft}, {51, Qt::Key_Backslash},
        {58, Qt::Key_M},           {59, Qt::Key_Comma},      {60, Qt::Key_Period},    {61, Qt::Key_Slash},
        {63, QKeyCombination(Qt::KeypadModifier, Qt::Key_Asterisk)}, {65, Qt::Key_Space}, {67, Qt::Key_F1},
        {87, QKeyCombination(Qt::KeypadModifier, Qt::Key_1)}, {94, Qt::Key_Less},
    };
    EXPECT_EQ(names, expected) << "Shift, Enter on the keypad and media keys have no name";
}

TEST(PhysicalKeys, OnAFrenchKeyboardTheDigitRowIsDigitsAndEveryKeyHasANameOfItsOwn)
{
    const std::map<int, QKeyCombination> names = Names(kFrench);
    const std::map<int, QKeyCombination> expected = {
        {9, Qt::Key_Escape},       {10, Qt::Key_1},          {11, Qt::Key_2},           {16, Qt::Key_7},
        {18, Qt::Key_9},           {19, Qt::Key_0},          {20, Qt::Key_Minus},       {21, Qt::Key_Equal},
        {24, Qt::Key_A},           {27, Qt::Key_R},          {34, Qt::Key_BracketLeft}, {35, Qt::Key_BracketRight},
        {38, Qt::Key_Q},           {47, Qt::Key_M},          {48, Qt::Key_Apostrophe},  {49, Qt::Key_QuoteLeft},
        {51, Qt::Key_Backslash},   {58, Qt::Key_Comma},      {59, Qt::Key_Period},      {60, Qt::Key_Slash},
        {61, Qt::Key_Exclam},      {65, Qt::Key_Space},      {87, QKeyCombination(Qt::KeypadModifier, Qt::Key_1)},
        {94, Qt::Key_Less},
    };
    EXPECT_EQ(names, expected);
    std::set<int> distinct;
    for (const auto& [keyCode, key] : names)
        distinct.insert(key.toCombined());
    EXPECT_EQ(distinct.size(), names.size());
}

TEST(PhysicalKeys, AKeyIsFoundAgainByItsNameWhateverTheModifiers)
{
    const PhysicalKeys french(kFrench);
    EXPECT_EQ(french.KeyCodesOf(QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_2)),
              std::vector<std::uint8_t>{11});
    EXPECT_EQ(french.KeyCodesOf(QKeyCombination(Qt::ControlModifier, Qt::Key_Exclam)), std::vector<std::uint8_t>{61});
    EXPECT_EQ(french.KeyCodesOf(QKeyCombination(Qt::KeypadModifier, Qt::Key_1)), std::vector<std::uint8_t>{87});
    EXPECT_TRUE(french.KeyCodesOf(QKeyCombination(Qt::Key_F5)).empty()) << "not on these rows";
    const PhysicalKeys us(kUs);
    EXPECT_EQ(us.KeyCodesOf(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R)),
              std::vector<std::uint8_t>{27});
    EXPECT_EQ(us.KeyCodesOf(QKeyCombination(Qt::Key_M)), std::vector<std::uint8_t>{58});
    EXPECT_FALSE(us.KeyOf(200).has_value()) << "a key code the layout does not list";
}

}  // namespace
