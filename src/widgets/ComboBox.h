// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QComboBox>
#include <QStringList>

// An editable drop-down list whose text lives apart from its items: loading the items chooses
// none of them, and the text may show a value the list does not hold. Typing never adds an item
// and leaves no item chosen.
class TComboBox : public QComboBox {
    Q_OBJECT
    // Settable by name, so the form's layout file can carry them (items before the text).
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(QString Text READ Text WRITE SetText)

public:
    explicit TComboBox(QWidget* parent = nullptr);

    QStringList Items() const;
    void SetItems(const QStringList& items);
    // The chosen item, -1 when none is (nothing picked yet, or a text typed in).
    int ItemIndex() const { return currentIndex(); }
    // Chooses an item and shows its text; reported to nobody.
    void SetItemIndex(int index) { setCurrentIndex(index); }
    QString Text() const { return currentText(); }
    void SetText(const QString& text) { setEditText(text); }
};
