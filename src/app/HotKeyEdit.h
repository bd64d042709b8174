#pragma once
#include <QKeySequenceEdit>

// The hot-key field: it holds one key combination, never a sequence of them. Each combination
// typed replaces the one shown and is reported at once by keySequenceChanged; a modifier held
// alone changes nothing; Backspace or Delete on its own, or the clear button, empties the field.
class THotKeyEdit : public QKeySequenceEdit {
    Q_OBJECT

public:
    explicit THotKeyEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
