// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/PhysicalKeys.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>

namespace platform {

namespace {

struct SymbolKey {
    std::uint32_t keySym;
    Qt::Key key;
};

constexpr std::array kNamedKeys = {
    SymbolKey{XK_BackSpace, Qt::Key_Backspace}, SymbolKey{XK_Tab, Qt::Key_Tab},
    SymbolKey{XK_ISO_Left_Tab, Qt::Key_Tab},    SymbolKey{XK_Clear, Qt::Key_Clear},
    SymbolKey{XK_Return, Qt::Key_Return},       SymbolKey{XK_Pause, Qt::Key_Pause},
    SymbolKey{XK_Escape, Qt::Key_Escape},       SymbolKey{XK_space, Qt::Key_Space},
    SymbolKey{XK_Prior, Qt::Key_PageUp},        SymbolKey{XK_Next, Qt::Key_PageDown},
    SymbolKey{XK_End, Qt::Key_End},             SymbolKey{XK_Home, Qt::Key_Home},
    SymbolKey{XK_Left, Qt::Key_Left},           SymbolKey{XK_Up, Qt::Key_Up},
    SymbolKey{XK_Right, Qt::Key_Right},         SymbolKey{XK_Down, Qt::Key_Down},
    SymbolKey{XK_Select, Qt::Key_Select},       SymbolKey{XK_Print, Qt::Key_Print},
    SymbolKey{XK_Insert, Qt::Key_Insert},       SymbolKey{XK_Delete, Qt::Key_Delete},
    SymbolKey{XK_Help, Qt::Key_Help},           SymbolKey{XK_Menu, Qt::Key_Menu},
    SymbolKey{XF86XK_Sleep, Qt::Key_Sleep},
};

constexpr std::array kKeypadKeys = {
    SymbolKey{XK_KP_Multiply, Qt::Key_Asterisk}, SymbolKey{XK_KP_Add, Qt::Key_Plus},
    SymbolKey{XK_KP_Subtract, Qt::Key_Minus},    SymbolKey{XK_KP_Decimal, Qt::Key_Period},
    SymbolKey{XK_KP_Separator, Qt::Key_Period},  SymbolKey{XK_KP_Divide, Qt::Key_Slash},
};

// The punctuation keys by their place (the key codes are the same under the evdev and the older
// xfree86 key-code sets), under the names of the US keys there.
struct PlaceKey {
    std::uint8_t keyCode;
    Qt::Key key;
};

constexpr std::array kPunctuationPlaces = {
    PlaceKey{49, Qt::Key_QuoteLeft},   PlaceKey{20, Qt::Key_Minus},      PlaceKey{21, Qt::Key_Equal},
    PlaceKey{34, Qt::Key_BracketLeft}, PlaceKey{35, Qt::Key_BracketRight}, PlaceKey{51, Qt::Key_Backslash},
    PlaceKey{47, Qt::Key_Semicolon},   PlaceKey{48, Qt::Key_Apostrophe}, PlaceKey{59, Qt::Key_Comma},
    PlaceKey{60, Qt::Key_Period},      PlaceKey{61, Qt::Key_Slash},      PlaceKey{94, Qt::Key_Less},
};

// On layouts that put a letter where the US semicolon is (French "m"), the bottom row's
// punctuation starts one key earlier (",", ";", ":", "!"): its four keys are named from there.
constexpr std::uint8_t kUsLetterM = 58;
constexpr std::array kMovedBottomRow = {
    PlaceKey{58, Qt::Key_Comma}, PlaceKey{59, Qt::Key_Period}, PlaceKey{60, Qt::Key_Slash}, PlaceKey{61, Qt::Key_Exclam},
};

std::optional<Qt::Key> Letter(std::uint32_t keySym)
{
    if (keySym >= XK_a && keySym <= XK_z)
        return Qt::Key(Qt::Key_A + (keySym - XK_a));
    if (keySym >= XK_A && keySym <= XK_Z)
        return Qt::Key(Qt::Key_A + (keySym - XK_A));
    return std::nullopt;
}

std::optional<Qt::Key> Digit(std::uint32_t keySym)
{
    if (keySym >= XK_0 && keySym <= XK_9)
        return Qt::Key(Qt::Key_0 + (keySym - XK_0));
    return std::nullopt;
}

std::optional<QKeyCombination> Keypad(std::uint32_t keySym)
{
    if (keySym >= XK_KP_0 && keySym <= XK_KP_9)
        return QKeyCombination(Qt::KeypadModifier, Qt::Key(Qt::Key_0 + (keySym - XK_KP_0)));
    for (const SymbolKey& named : kKeypadKeys)
        if (named.keySym == keySym)
            return QKeyCombination(Qt::KeypadModifier, named.key);
    return std::nullopt;
}

constexpr int kFunctionKeys = 35;
constexpr std::uint32_t kNoSymbol = 0;  // a key code the layout leaves empty

std::optional<Qt::Key> Named(std::uint32_t keySym)
{
    if (keySym >= XK_F1 && keySym < XK_F1 + kFunctionKeys)
        return Qt::Key(Qt::Key_F1 + (keySym - XK_F1));
    for (const SymbolKey& named : kNamedKeys)
        if (named.keySym == keySym)
            return named.key;
    return std::nullopt;
}

}  // namespace

PhysicalKeys::PhysicalKeys(std::vector<Row> layout) : layout_(std::move(layout))
{
    const auto usM = std::ranges::find(layout_, kUsLetterM, &Row::keyCode);
    const auto usSemicolon = std::ranges::find(layout_, kPunctuationPlaces[6].keyCode, &Row::keyCode);
    bottomRowMoved_ = usM != layout_.end() && usSemicolon != layout_.end() && !Letter(usM->unshifted) &&
                      !Letter(usM->shifted) && (Letter(usSemicolon->unshifted) || Letter(usSemicolon->shifted));
}

std::optional<QKeyCombination> PhysicalKeys::Name(const Row& row) const
{
    for (const std::uint32_t keySym : {row.unshifted, row.shifted})
        if (const std::optional<Qt::Key> letter = Letter(keySym))
            return QKeyCombination(*letter);
    for (const std::uint32_t keySym : {row.unshifted, row.shifted})
        if (const std::optional<Qt::Key> digit = Digit(keySym))
            return QKeyCombination(*digit);
    // Keypad digits come shifted (NumLock); the unshifted side is the editing key.
    for (const std::uint32_t keySym : {row.shifted, row.unshifted})
        if (const std::optional<QKeyCombination> keypad = Keypad(keySym))
            return keypad;
    if (const std::optional<Qt::Key> named = Named(row.unshifted))
        return QKeyCombination(*named);
    if (bottomRowMoved_)
        for (const PlaceKey& place : kMovedBottomRow)
            if (place.keyCode == row.keyCode)
                return QKeyCombination(place.key);
    for (const PlaceKey& place : kPunctuationPlaces)
        if (place.keyCode == row.keyCode && row.unshifted != kNoSymbol)
            return QKeyCombination(place.key);
    return std::nullopt;
}

std::optional<QKeyCombination> PhysicalKeys::KeyOf(std::uint8_t keyCode) const
{
    const auto row = std::ranges::find(layout_, keyCode, &Row::keyCode);
    return row != layout_.end() ? Name(*row) : std::nullopt;
}

std::vector<std::uint8_t> PhysicalKeys::KeyCodesOf(QKeyCombination key) const
{
    const QKeyCombination wanted(key.keyboardModifiers() & Qt::KeypadModifier, key.key());
    std::vector<std::uint8_t> keyCodes;
    for (const Row& row : layout_)
        if (Name(row) == wanted)
            keyCodes.push_back(row.keyCode);
    return keyCodes;
}

}  // namespace platform
