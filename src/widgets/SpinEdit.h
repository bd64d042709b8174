// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QSpinBox>

// A whole-number field with arrows. Its value is its text read as a decimal integer: text that is
// not one (an emptied field) reads as the lowest value, and leaving the field puts that value in.
// Equal lowest and highest values mean no bounds at all.
class TSpinEdit : public QSpinBox {
    Q_OBJECT
    // Settable by name, so the form's layout file can carry them.
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)

public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int MinValue() const { return minValue_; }
    void SetMinValue(int minValue);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int maxValue);

    int Value() const;

protected:
    void fixup(QString& input) const override;

private:
    void ApplyRange();

    int minValue_ = 0;
    int maxValue_ = 0;
};
