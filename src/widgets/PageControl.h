// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QTabWidget>

// The window's page control. Its tabs leave half the usual room beside their captions, so that
// the six French captions fit the window's width without scroll arrows; with hot tracking on, the
// caption under the mouse is drawn in the highlight colour.
class TPageControl : public QTabWidget {
    Q_OBJECT
    // Settable by name, so the form's layout file can carry it.
    Q_PROPERTY(bool HotTrack READ HotTrack WRITE SetHotTrack)

public:
    explicit TPageControl(QWidget* parent = nullptr);

    bool HotTrack() const;
    void SetHotTrack(bool hotTrack);
};
