// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/LabelMouse.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

TLabelMouse::TLabelMouse(QLabel* label) : QObject(label)
{
    label->installEventFilter(this);
}

bool TLabelMouse::eventFilter(QObject* watched, QEvent* event)
{
    auto run = [](const std::function<void()>& handler) {
        if (handler)
            handler();
    };
    switch (event->type()) {
    case QEvent::Enter:
        run(OnMouseEnter);
        break;
    case QEvent::Leave:
        run(OnMouseLeave);
        break;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* label = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint()))
            run(OnClick);
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
