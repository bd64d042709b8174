// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "app/AccessibleWidgetList.h"

class QGroupBox;

// A group box as a screen reader meets it: a grouping named by its title, whose children are the
// controls and texts it holds. Pictures that only decorate (marked with SetDecorative) and labels
// with nothing to say (no text, no picture) are left out, so that nobody walks through blanks.
class TAccessibleGroupBox : public TAccessibleWidgetList {
public:
    explicit TAccessibleGroupBox(QGroupBox* box);

    QString text(QAccessible::Text kind) const override;

    static void SetDecorative(QWidget* widget);
    static bool LeftOut(const QWidget* widget);

protected:
    QList<QWidget*> Children() const override;
};
