// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAccessibleWidget>

// A widget whose children a screen reader is told are a list the subclass chooses (some of its
// child widgets left out, or parts that are not its children), asked afresh each time.
class TAccessibleWidgetList : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

protected:
    virtual QList<QWidget*> Children() const = 0;
};
