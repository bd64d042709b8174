// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <functional>

class QLabel;

// A label that works as a link from the keyboard too: Tab reaches it, Enter or Space opens it,
// and while it has the focus it wears the look the mouse gives it. Screen readers meet it as a
// link (see FormAccessibility). The form binds the two handlers.
class TLabelLink : public QObject {
    Q_OBJECT

public:
    explicit TLabelLink(QLabel* label);

    std::function<void()> OnActivate;
    // True when the link takes the focus, false when it loses it.
    std::function<void(bool focused)> OnFocusChange;

    void Activate();
    // The link behind a label, if it is one.
    static TLabelLink* Of(const QObject* label);
    // Drops the accessible interface Qt keeps for a widget, so that the next one asked for is made
    // afresh: for a widget that has become something else to a screen reader.
    static void ForgetInterface(QObject* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
