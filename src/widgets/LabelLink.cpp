// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/LabelLink.h"

#include <QAccessible>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>

TLabelLink::TLabelLink(QLabel* label) : QObject(label)
{
    label->setFocusPolicy(Qt::StrongFocus);
    label->installEventFilter(this);
    ForgetInterface(label);  // it was a plain label until now
}

void TLabelLink::ForgetInterface(QObject* widget)
{
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

TLabelLink* TLabelLink::Of(const QObject* label)
{
    return label ? label->findChild<TLabelLink*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void TLabelLink::Activate()
{
    if (OnActivate)
        OnActivate();
}

bool TLabelLink::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space)) {
            if (!key->isAutoRepeat())
                Activate();
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        if (OnFocusChange)
            OnFocusChange(event->type() == QEvent::FocusIn);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
