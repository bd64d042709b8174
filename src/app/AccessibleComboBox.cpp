// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AccessibleComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

TAccessibleComboBox::TAccessibleComboBox(QComboBox* box) : TAccessibleWidgetList(box, QAccessible::ComboBox) {}

QComboBox* TAccessibleComboBox::Box() const
{
    return static_cast<QComboBox*>(widget());
}

QString TAccessibleComboBox::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return Box()->currentText();
    return QAccessibleWidget::text(kind);
}

QAccessible::State TAccessibleComboBox::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = Box()->view() && Box()->view()->isVisible();
    state.editable = Box()->isEditable();
    return state;
}

QList<QWidget*> TAccessibleComboBox::Children() const
{
    QList<QWidget*> parts;
    if (Box()->view())
        parts << Box()->view();
    if (Box()->lineEdit())
        parts << Box()->lineEdit();
    return parts;
}

QStringList TAccessibleComboBox::actionNames() const
{
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void TAccessibleComboBox::doAction(const QString& name)
{
    if (name == showMenuAction() || name == pressAction()) {
        if (Box()->view() && Box()->view()->isVisible())
            Box()->hidePopup();
        else
            Box()->showPopup();
        return;
    }
    QAccessibleWidget::doAction(name);
}
