// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QKeyCombination>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// Which key of the keyboard each X key code is, named the way the hot key names keys: by the key
// pressed, not by the character it types. Letters and the digit row go by the letter or digit
// the key carries unshifted or shifted (so the French "1/&" key is 1 and "2/é" is 2, as on a US
// keyboard); the keypad, function and editing keys by their symbol; the punctuation keys by their
// place on the keyboard, each under the name its US counterpart has, so that every one of them has
// a name of its own whatever it prints.
class PhysicalKeys {
public:
    // One key code of the current layout with the symbols of its first group.
    struct Row {
        std::uint8_t keyCode;
        std::uint32_t unshifted;
        std::uint32_t shifted;
    };

    explicit PhysicalKeys(std::vector<Row> layout);

    // The key, with Qt::KeypadModifier for a key of the keypad; nothing for a key code the hot
    // key has no name for (modifiers, media keys, unused codes).
    std::optional<QKeyCombination> KeyOf(std::uint8_t keyCode) const;
    // Every key code that is this key (a keyboard may have two, e.g. two Return keys).
    std::vector<std::uint8_t> KeyCodesOf(QKeyCombination key) const;

private:
    std::optional<QKeyCombination> Name(const Row& row) const;

    std::vector<Row> layout_;
    bool bottomRowMoved_ = false;
};

}  // namespace platform
