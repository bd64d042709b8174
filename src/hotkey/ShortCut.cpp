// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkey/ShortCut.h"

#include <array>

namespace {

constexpr TShortCut kModifierBits = kScShift | kScCtrl | kScAlt;

// Windows virtual-key codes of the keys outside the letter, digit and function-key runs.
struct NamedKey {
    std::uint8_t virtualKey;
    Qt::Key key;
    bool keypad;
};

// The punctuation codes (0xBA to 0xE2) name keys by their place, after the US keys there; the
// platform names the keys of other layouts the same way. The value is never stored, so all that
// matters is that a Qt key goes there and back to itself.
constexpr std::array kNamedKeys = {
    NamedKey{0x08, Qt::Key_Backspace, false},
    NamedKey{0x09, Qt::Key_Tab, false},
    NamedKey{0x0C, Qt::Key_Clear, false},
    NamedKey{0x0D, Qt::Key_Return, false},
    NamedKey{0x13, Qt::Key_Pause, false},
    NamedKey{0x1B, Qt::Key_Escape, false},
    NamedKey{0x20, Qt::Key_Space, false},
    NamedKey{0x21, Qt::Key_PageUp, false},
    NamedKey{0x22, Qt::Key_PageDown, false},
    NamedKey{0x23, Qt::Key_End, false},
    NamedKey{0x24, Qt::Key_Home, false},
    NamedKey{0x25, Qt::Key_Left, false},
    NamedKey{0x26, Qt::Key_Up, false},
    NamedKey{0x27, Qt::Key_Right, false},
    NamedKey{0x28, Qt::Key_Down, false},
    NamedKey{0x29, Qt::Key_Select, false},
    NamedKey{0x2C, Qt::Key_Print, false},
    NamedKey{0x2D, Qt::Key_Insert, false},
    NamedKey{0x2E, Qt::Key_Delete, false},
    NamedKey{0x2F, Qt::Key_Help, false},
    NamedKey{0x5D, Qt::Key_Menu, false},
    NamedKey{0x5F, Qt::Key_Sleep, false},
    NamedKey{0x60, Qt::Key_0, true},
    NamedKey{0x61, Qt::Key_1, true},
    NamedKey{0x62, Qt::Key_2, true},
    NamedKey{0x63, Qt::Key_3, true},
    NamedKey{0x64, Qt::Key_4, true},
    NamedKey{0x65, Qt::Key_5, true},
    NamedKey{0x66, Qt::Key_6, true},
    NamedKey{0x67, Qt::Key_7, true},
    NamedKey{0x68, Qt::Key_8, true},
    NamedKey{0x69, Qt::Key_9, true},
    NamedKey{0x6A, Qt::Key_Asterisk, true},
    NamedKey{0x6B, Qt::Key_Plus, true},
    NamedKey{0x6D, Qt::Key_Minus, true},
    NamedKey{0x6E, Qt::Key_Period, true},
    NamedKey{0x6F, Qt::Key_Slash, true},
    NamedKey{0xBA, Qt::Key_Semicolon, false},
    NamedKey{0xBB, Qt::Key_Equal, false},
    NamedKey{0xBC, Qt::Key_Comma, false},
    NamedKey{0xBD, Qt::Key_Minus, false},
    NamedKey{0xBE, Qt::Key_Period, false},
    NamedKey{0xBF, Qt::Key_Slash, false},
    NamedKey{0xC0, Qt::Key_QuoteLeft, false},
    NamedKey{0xDB, Qt::Key_BracketLeft, false},
    NamedKey{0xDC, Qt::Key_Backslash, false},
    NamedKey{0xDD, Qt::Key_BracketRight, false},
    NamedKey{0xDE, Qt::Key_Apostrophe, false},
    NamedKey{0xDF, Qt::Key_Exclam, false},  // the French "!" key, one of the bottom row's
    NamedKey{0xE2, Qt::Key_Less, false},    // the extra key beside the left Shift of European keyboards
};

constexpr int kVkF1 = 0x70;
constexpr int kFunctionKeys = 24;

std::optional<QKeyCombination> VirtualKeyToQt(int virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return QKeyCombination(Qt::Key(Qt::Key_A + (virtualKey - 'A')));
    if (virtualKey >= '0' && virtualKey <= '9')
        return QKeyCombination(Qt::Key(Qt::Key_0 + (virtualKey - '0')));
    if (virtualKey >= kVkF1 && virtualKey < kVkF1 + kFunctionKeys)
        return QKeyCombination(Qt::Key(Qt::Key_F1 + (virtualKey - kVkF1)));
    for (const NamedKey& named : kNamedKeys) {
        if (named.virtualKey == virtualKey) {
            const Qt::KeyboardModifiers keypad(named.keypad ? Qt::KeypadModifier : Qt::NoModifier);
            return QKeyCombination(keypad, named.key);
        }
    }
    return std::nullopt;
}

// 0 for a key the shortcut values cannot hold. Shift+Tab arrives from Qt as Backtab: the same key.
int QtToVirtualKey(Qt::Key key, bool keypad)
{
    if (!keypad) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return 'A' + (key - Qt::Key_A);
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return '0' + (key - Qt::Key_0);
        if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kFunctionKeys)
            return kVkF1 + (key - Qt::Key_F1);
        if (key == Qt::Key_Backtab)
            return 0x09;
    }
    for (const NamedKey& named : kNamedKeys) {
        if (named.key == key && named.keypad == keypad)
            return named.virtualKey;
    }
    return 0;
}

}  // namespace

TKeyAndShift ShortCutToKey(TShortCut shortCut)
{
    TKeyAndShift result;
    result.key = shortCut & ~kModifierBits;
    if (shortCut & kScShift)
        result.shift |= Qt::ShiftModifier;
    if (shortCut & kScCtrl)
        result.shift |= Qt::ControlModifier;
    if (shortCut & kScAlt)
        result.shift |= Qt::AltModifier;
    return result;
}

TShortCut KeyToShortCut(std::uint16_t key, Qt::KeyboardModifiers shift)
{
    if (key > 0xFF)
        return 0;
    TShortCut result = key;
    if (shift & Qt::ShiftModifier)
        result |= kScShift;
    if (shift & Qt::ControlModifier)
        result |= kScCtrl;
    if (shift & Qt::AltModifier)
        result |= kScAlt;
    return result;
}

std::optional<QKeyCombination> ShortCutToKeyCombination(TShortCut shortCut)
{
    const TKeyAndShift decoded = ShortCutToKey(shortCut);
    const std::optional<QKeyCombination> key = VirtualKeyToQt(decoded.key);
    if (!key)
        return std::nullopt;
    return QKeyCombination(key->keyboardModifiers() | decoded.shift, key->key());
}

TShortCut KeyCombinationToShortCut(QKeyCombination combination)
{
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    const Qt::KeyboardModifiers carried = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (modifiers & ~(carried | Qt::KeypadModifier))
        return 0;
    const int virtualKey = QtToVirtualKey(combination.key(), modifiers.testFlag(Qt::KeypadModifier));
    if (virtualKey == 0)
        return 0;
    return KeyToShortCut(static_cast<std::uint16_t>(virtualKey), modifiers & carried);
}

bool TypesText(TShortCut shortCut)
{
    if (shortCut & (kScCtrl | kScAlt))
        return false;
    const int key = shortCut & ~kModifierBits;
    const bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    const bool keypad = key >= 0x60 && key <= 0x6F;
    const bool punctuation = (key >= 0xBA && key <= 0xC0) || (key >= 0xDB && key <= 0xDF) || key == 0xE2;
    return letterOrDigit || keypad || punctuation || key == 0x20;
}

QKeySequence ShortCutToKeySequence(TShortCut shortCut)
{
    const std::optional<QKeyCombination> combination = ShortCutToKeyCombination(shortCut);
    return combination ? QKeySequence(*combination) : QKeySequence();
}

TShortCut KeySequenceToShortCut(const QKeySequence& sequence)
{
    return sequence.count() == 1 ? KeyCombinationToShortCut(sequence[0]) : 0;
}
