#include "app/HotKeyEdit.h"

#include <QKeyEvent>

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

THotKeyEdit::THotKeyEdit(QWidget* parent) : QKeySequenceEdit(parent)
{
    setClearButtonEnabled(true);
}

void THotKeyEdit::keyPressEvent(QKeyEvent* event)
{
    // The base edit records up to four combinations and reports them a second after the last
    // key; a hot key is one combination, taken as soon as it is complete.
    event->accept();
    const int key = event->key();
    if (IsModifierKey(key))
        return;
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && modifiers == Qt::NoModifier) {
        clear();
        return;
    }
    setKeySequence(QKeySequence(QKeyCombination(modifiers, Qt::Key(key))));
}
