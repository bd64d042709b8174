// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QKeyCombination>
#include <QKeySequence>
#include <cstdint>
#include <optional>

// A shortcut value, the form in which the hot-key edit hands its combination to the global hot
// key: a Windows virtual-key code in the low byte, plus the modifier bits below.
using TShortCut = std::uint16_t;

constexpr TShortCut kScShift = 0x2000;
constexpr TShortCut kScCtrl = 0x4000;
constexpr TShortCut kScAlt = 0x8000;

// The punctuation keys' codes run from here to 0xE2, past the keypad and function keys.
constexpr TShortCut kFirstPunctuationKey = 0xBA;

constexpr TShortCut kDefaultHotKey = kScCtrl | kScShift | 'R';  // 24658

// The key and the shift state a shortcut stands for (Shift, Control and Alt only).
struct TKeyAndShift {
    std::uint16_t key = 0;
    Qt::KeyboardModifiers shift;
};

TKeyAndShift ShortCutToKey(TShortCut shortCut);
TShortCut KeyToShortCut(std::uint16_t key, Qt::KeyboardModifiers shift);

// Between shortcut values and Qt's key combinations. Only the keys the two share are carried
// (letters, digits, F1 to F24, the keypad, the editing and navigation keys, US punctuation);
// anything else gives nothing / 0 rather than some other key.
std::optional<QKeyCombination> ShortCutToKeyCombination(TShortCut shortCut);
TShortCut KeyCombinationToShortCut(QKeyCombination combination);

// A key that types text (a letter, a digit, the space bar, punctuation, the keypad's digits and
// signs) with neither Ctrl nor Alt: as a hot key it would take that typing from every program.
bool TypesText(TShortCut shortCut);

// The hot-key edit's side: a sequence of exactly one combination, empty for 0.
QKeySequence ShortCutToKeySequence(TShortCut shortCut);
TShortCut KeySequenceToShortCut(const QKeySequence& sequence);
