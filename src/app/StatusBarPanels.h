// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QList>
#include <QObject>

class QStatusBar;
class QWidget;

// Places the status bar's panels side by side from its left end, each as wide as it was laid
// out, or wider when its text needs it (a figure of five digits), and the last panel from there
// to the bar's right end, as the original framework's last panel runs: its texts (" Quantité
// récupérée : 504 MB") then show whole.
class TStatusBarPanels : public QObject {
public:
    TStatusBarPanels(QStatusBar* bar, QList<QWidget*> panels, QWidget* lastPanel);

    void Arrange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStatusBar* bar_;
    QList<QWidget*> panels_;
    QList<int> laidOutWidths_;
    QWidget* lastPanel_;
};
