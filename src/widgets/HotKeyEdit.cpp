// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/HotKeyEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include "hotkey/ShortCut.h"

namespace {

// The keys that only qualify the key proper.
bool IsModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

}  // namespace

THotKeyEdit::THotKeyEdit(QWidget* parent) : QKeySequenceEdit(parent) {}

void THotKeyEdit::SetClearButtonName(const QString& name)
{
    clearButtonName_ = name;
    NameClearButton();
}

void THotKeyEdit::NameClearButton()
{
    if (auto* line = findChild<QLineEdit*>())
        for (QToolButton* button : line->findChildren<QToolButton*>())
            button->setAccessibleName(clearButtonName_);
}

void THotKeyEdit::showEvent(QShowEvent* event)
{
    if (!isClearButtonEnabled()) {
        setClearButtonEnabled(true);
        NameClearButton();
    }
    QKeySequenceEdit::showEvent(event);
}

void THotKeyEdit::keyPressEvent(QKeyEvent* event)
{
    // The base edit records up to four combinations and reports them a second after the last
    // key; a hot key is one combination, taken as soon as it is complete.
    event->accept();
    const int key = event->key();
    if (IsModifierKey(key) || event->modifiers().testFlag(Qt::MetaModifier))
        return;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && modifiers == Qt::NoModifier) {
        clear();
        return;
    }
    std::optional<QKeyCombination> pressed = KeyOfScanCode ? KeyOfScanCode(event->nativeScanCode()) : std::nullopt;
    if (!pressed)
        pressed = QKeyCombination(event->modifiers() & Qt::KeypadModifier, Qt::Key(key));
    const TShortCut shortCut =
        KeyCombinationToShortCut(QKeyCombination(modifiers | pressed->keyboardModifiers(), pressed->key()));
    if (shortCut == 0)
        return;
    // A punctuation key is named after the US key in its place (the French "ù" is the US
    // apostrophe key); the field shows what the key itself carries, while Shift leaves its
    // unshifted character unknown here.
    QKeySequence shown = ShortCutToKeySequence(shortCut);
    const bool punctuation = (shortCut & 0xFF) >= kFirstPunctuationKey;
    const bool character = key > 0 && key < Qt::Key_Escape;
    if (punctuation && character && !modifiers.testFlag(Qt::ShiftModifier))
        shown = QKeySequence(QKeyCombination(modifiers, Qt::Key(key)));
    pressedShortCut_ = shortCut;
    pressedSequence_ = shown;
    setKeySequence(shown);
}

TShortCut THotKeyEdit::ShortCut() const
{
    const QKeySequence shown = keySequence();
    return !shown.isEmpty() && shown == pressedSequence_ ? pressedShortCut_ : KeySequenceToShortCut(shown);
}
