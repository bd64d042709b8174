// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAccessibleWidget>
#include <vector>

class QTabBar;

// The page tabs as a screen reader meets them: a list of tabs, each named by its caption, the
// current one "selected" (and "focused" only while the bar itself has the focus), each chosen by
// its "press" action. A change of page is told as the old tab losing and the new one gaining the
// selected state.
class TAccessibleTabBar : public QAccessibleWidget {
public:
    explicit TAccessibleTabBar(QTabBar* bar);
    ~TAccessibleTabBar() override;

    QString text(QAccessible::Text kind) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QTabBar* Bar() const;
    void TellSelection(int index);

    mutable std::vector<QAccessible::Id> tabs_;
    int shown_ = -1;
    QMetaObject::Connection currentChanged_;
};
