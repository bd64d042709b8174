// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ComboBox.h"

#include <QLineEdit>

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Connected before any user of the box, so that they see the choice already gone.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        if (currentIndex() < 0)
            return;
        const QString text = currentText();
        const int cursor = lineEdit()->cursorPosition();
        setCurrentIndex(-1);
        setEditText(text);
        lineEdit()->setCursorPosition(cursor);
    });
}

QStringList TComboBox::Items() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}

void TComboBox::SetItems(const QStringList& items)
{
    const QString text = currentText();
    clear();
    addItems(items);
    setCurrentIndex(-1);
    setEditText(text);
}
