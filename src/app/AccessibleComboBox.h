// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "app/AccessibleWidgetList.h"

class QComboBox;

// A combo box read by its caption (its accessible name) with its text as the value. On Linux Qt
// reads a combo box by its current item and leaves the caption to a relation, which screen
// readers do not all follow. Its children are Qt's: the list that drops down, and the line typed
// into when it is editable; its actions open the list.
class TAccessibleComboBox : public TAccessibleWidgetList {
public:
    explicit TAccessibleComboBox(QComboBox* box);

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& name) override;

protected:
    QList<QWidget*> Children() const override;

private:
    QComboBox* Box() const;
};
