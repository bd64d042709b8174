// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/SpinEdit.h"

#include <algorithm>
#include <climits>

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent)
{
    ApplyRange();
}

void TSpinEdit::SetMinValue(int minValue)
{
    minValue_ = minValue;
    ApplyRange();
}

void TSpinEdit::SetMaxValue(int maxValue)
{
    maxValue_ = maxValue;
    ApplyRange();
}

void TSpinEdit::ApplyRange()
{
    if (minValue_ == maxValue_)
        setRange(INT_MIN, INT_MAX);
    else
        setRange(minValue_, maxValue_);
}

int TSpinEdit::Value() const
{
    bool isNumber = false;
    const int value = cleanText().toInt(&isNumber);
    return isNumber ? value : minValue_;
}

void TSpinEdit::fixup(QString& input) const
{
    QSpinBox::fixup(input);
    bool isNumber = false;
    input.trimmed().toInt(&isNumber);
    if (!isNumber)
        input = QString::number(std::clamp(minValue_, minimum(), maximum()));
}
