// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A framed set of mutually exclusive choices, laid out in columns and known by their index. A
// click on a choice reaches the owner through Buttons()'s idClicked, carrying the index; choosing
// from code (SetItemIndex) reports nothing. A group without items is just a frame.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
    // Settable by name, so the form's layout file can carry them (items before the index).
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)

public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    QStringList Items() const { return items_; }
    void SetItems(const QStringList& items);
    int Columns() const { return columns_; }
    void SetColumns(int columns);
    // -1 when no choice is made; an index is clamped to -1 .. the last item.
    int ItemIndex() const;
    void SetItemIndex(int index);

    QButtonGroup* Buttons() const { return buttons_; }
    QRadioButton* Button(int index) const;

private:
    void Rebuild();

    QStringList items_;
    int columns_ = 1;
    QButtonGroup* buttons_;
    QGridLayout* grid_;
};
