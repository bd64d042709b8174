// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QKeySequenceEdit>
#include <cstdint>
#include <functional>
#include <optional>

#include "hotkey/ShortCut.h"

// The hot-key field: it holds one key combination, never a sequence of them. Each combination
// typed replaces the one shown and is reported at once by keySequenceChanged; a modifier held
// alone changes nothing; Backspace or Delete on its own, or the clear button, empties the field.
// The combination is the key pressed with Shift, Ctrl and Alt, not the character typed:
// Ctrl+Shift+1 is shown and reported as such, and so is Ctrl+Alt on the French "1/&" key. A key
// the hot key can't name, or a combination with the logo key, leaves the field as it was. Tab and
// Shift+Tab leave the field (the base edit lets them through), Ctrl or Alt with Tab is a combination.
class THotKeyEdit : public QKeySequenceEdit {
    Q_OBJECT

public:
    explicit THotKeyEdit(QWidget* parent = nullptr);

    // Names the key of a key event's native scan code (the desktop's keyboard layout knows it);
    // without it, or when it gives nothing, the key Qt reports is taken.
    std::function<std::optional<QKeyCombination>(std::uint32_t nativeScanCode)> KeyOfScanCode;

    // The combination as a shortcut value: the key last pressed, or what was set from code.
    TShortCut ShortCut() const;

    // What a screen reader calls the clear button.
    void SetClearButtonName(const QString& name);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The clear button is made when the field is first shown: its picture comes from the icon
    // theme, whose first look-up reads the whole theme index, a cost a start need not pay.
    void showEvent(QShowEvent* event) override;

private:
    void NameClearButton();

    QString clearButtonName_;
    TShortCut pressedShortCut_ = 0;
    QKeySequence pressedSequence_;
};
