// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <deque>

// The usage history strip of the first page: free memory, processor load and the alarm level, one
// point per refresh, 2 pixels apart. No list of values stands behind it: the picture is the
// history, moved left by a block copy at every point, so each point costs the same however long
// the program runs.
//
// The picture is made at the widget's size by the first Init (or Plot), and from then on the
// widget keeps that size. The widget adds no context menu of its own: the owner's context-menu
// policy (Qt::CustomContextMenu, Qt::ActionsContextMenu) applies unchanged, to the mouse and to
// the keyboard alike (the Menu key, Shift+F10) once the chart has the focus.
//
// While the chart is not on screen (the window in the tray, another page shown) its points wait
// and are drawn when it is next painted or its picture is asked for; only the points still on the
// picture by then are drawn, the older ones only move the history along.
//
// A screen reader cannot see the lines: the chart's accessible description tells the latest
// point's readings in words, and changes with each point.
class TPerfChart : public QWidget {
    Q_OBJECT
    // Settable by name, so the form's layout file can carry the stored colour.
    Q_PROPERTY(QColor PlotColor READ PlotColor WRITE SetPlotColor)

public:
    explicit TPerfChart(QWidget* parent = nullptr);

    // Clears the picture, draws the grid and starts a fresh history from the bottom edge.
    void Init();
    // Adds one point. The free share is held to 0..100; the load and the alarm level are drawn as
    // they come, off the picture when they are off the scale.
    void Plot(std::int32_t freePercent, std::int32_t loadPercent, std::int32_t alarmPercent);

    // Colour of the free-memory line, used from the next point on. Black until the owner sets one.
    QColor PlotColor() const { return plotColor_; }
    void SetPlotColor(const QColor& color) { plotColor_ = color; }

    // The picture with every point so far.
    const QImage& Picture();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Point {
        std::int32_t freePercent;
        std::int32_t loadPercent;
        std::int32_t alarmPercent;
        QRgb freeColor;
    };

    void Draw(const Point& point);
    // Moves the history along for a point that would have left the picture before it is shown.
    void Pass(const Point& point);
    void DrawWaitingPoints();
    void MakePicture();
    int ScaleY(std::int32_t percent) const;
    void ScrollLeft();
    void FillBlack(int left, int right);
    void MoveTo(int x, int y) { pen_ = QPoint(x, y); }
    void LineTo(int x, int y);
    void SetPixel(std::int64_t x, std::int64_t y);
    void DescribeReadings(std::int32_t freePercent, std::int32_t loadPercent, std::int32_t alarmPercent);

    int scrollPhase_ = 0;
    QColor plotColor_ = Qt::black;
    int lastFreeY_ = 0;
    int lastLoadY_ = 0;
    QImage picture_;
    QPoint pen_;
    QRgb penColor_ = 0;
    std::deque<Point> waiting_;
    bool passedSome_ = false;  // the picture's old content has left it: it starts black
};
