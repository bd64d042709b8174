// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

TRadioGroup::TRadioGroup(QWidget* parent)
    : QGroupBox(parent), buttons_(new QButtonGroup(this)), grid_(new QGridLayout(this))
{
    grid_->setContentsMargins(8, 2, 4, 2);
    grid_->setSpacing(0);
}

void TRadioGroup::SetItems(const QStringList& items)
{
    items_ = items;
    Rebuild();
}

void TRadioGroup::SetColumns(int columns)
{
    columns_ = std::max(1, columns);
    Rebuild();
}

int TRadioGroup::ItemIndex() const
{
    return buttons_->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    index = std::clamp(index, -1, static_cast<int>(items_.size()) - 1);
    if (QRadioButton* button = Button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group never lets its last ticked button go by itself.
    if (QAbstractButton* checked = buttons_->checkedButton()) {
        buttons_->setExclusive(false);
        checked->setChecked(false);
        buttons_->setExclusive(true);
    }
}

QRadioButton* TRadioGroup::Button(int index) const
{
    return qobject_cast<QRadioButton*>(buttons_->button(index));
}

void TRadioGroup::Rebuild()
{
    const int index = ItemIndex();
    for (QAbstractButton* button : buttons_->buttons()) {
        buttons_->removeButton(button);
        delete button;
    }
    const int count = static_cast<int>(items_.size());
    const int rowsPerColumn = std::max(1, (count + columns_ - 1) / columns_);
    for (int i = 0; i < count; ++i) {
        auto* button = new QRadioButton(items_[i], this);
        buttons_->addButton(button, i);
        grid_->addWidget(button, i % rowsPerColumn, i / rowsPerColumn);
    }
    // Columns share the width evenly, rows the height, whatever their captions.
    for (int column = 0; column < grid_->columnCount(); ++column)
        grid_->setColumnStretch(column, 1);
    for (int row = 0; row < grid_->rowCount(); ++row)
        grid_->setRowStretch(row, 1);
    SetItemIndex(index < count ? index : -1);
}
