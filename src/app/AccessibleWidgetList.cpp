// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AccessibleWidgetList.h"

#include <QWidget>

int TAccessibleWidgetList::childCount() const
{
    return static_cast<int>(Children().size());
}

QAccessibleInterface* TAccessibleWidgetList::child(int index) const
{
    const QList<QWidget*> children = Children();
    return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children[index]) : nullptr;
}

int TAccessibleWidgetList::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    return static_cast<int>(Children().indexOf(qobject_cast<QWidget*>(child->object())));
}
