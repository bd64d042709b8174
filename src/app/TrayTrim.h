// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Once the window has been out of sight for a while (gone to the tray, where the program spends
// most of its life), what was kept only to draw it is let go: the pixmaps Qt's style keeps for
// its buttons and frames, and the heap pages the start-up used and freed. The style draws its
// pixmaps again when the window next shows.
class TTrayTrim : public QObject {
public:
    static constexpr int kSettleMs = 2000;  // the tray's own start and docking are over by then

    explicit TTrayTrim(QWidget* window, int settleMs = kSettleMs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Trim();

    QPointer<QWidget> window_;
    QTimer settle_;
};
