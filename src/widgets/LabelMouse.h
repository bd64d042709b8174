// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <functional>

class QLabel;

// The mouse events a label gets no signal for: the pointer entering and leaving it, and a click
// (the left button let go over it). Watches the label; the form binds the three handlers.
class TLabelMouse : public QObject {
public:
    explicit TLabelMouse(QLabel* label);

    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;
    std::function<void()> OnClick;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
