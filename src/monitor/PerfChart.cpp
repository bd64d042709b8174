// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/PerfChart.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/Rounding.h"

namespace {

constexpr QRgb kBackground = qRgb(0, 0, 0);
constexpr QRgb kGrid = qRgb(0, 128, 0);
constexpr QRgb kAlarm = qRgb(255, 0, 0);
constexpr QRgb kLoad = qRgb(0, 255, 255);

constexpr int kGridStep = 10;
constexpr int kPointWidth = 2;
// The phase climbs by 5 per point and a vertical grid line falls due at 30: one every 6 points.
constexpr int kPhaseStep = 5;
constexpr int kPhaseTurn = 30;

}  // namespace

TPerfChart::TPerfChart(QWidget* parent) : QWidget(parent)
{
    // Reached by Tab like any control, so that its menu can be opened from the keyboard.
    setFocusPolicy(Qt::StrongFocus);
}

QSize TPerfChart::sizeHint() const
{
    return picture_.isNull() ? QWidget::sizeHint() : picture_.size();
}

void TPerfChart::paintEvent(QPaintEvent*)
{
    DrawWaitingPoints();
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.backgroundColor = Qt::black;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TPerfChart::keyPressEvent(QKeyEvent* event)
{
    // The Menu key reaches the focused widget as a context-menu event by itself; Shift+F10, the
    // other key every desktop opens a context menu with, does not.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint inside = rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, inside, mapToGlobal(inside), event->modifiers());
        QCoreApplication::sendEvent(this, &menu);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TPerfChart::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TPerfChart::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TPerfChart::DescribeReadings(std::int32_t freePercent, std::int32_t loadPercent, std::int32_t alarmPercent)
{
    // Told in the legend's words; set only when it changes, as each change is an event for the
    // screen reader.
    const QString readings = QStringLiteral("RAM libre : %1 %, alarme RAM : %2 %, activité CPU : %3 %")
                                 .arg(freePercent)
                                 .arg(alarmPercent)
                                 .arg(loadPercent);
    if (readings != accessibleDescription())
        setAccessibleDescription(readings);
}

void TPerfChart::MakePicture()
{
    if (!picture_.isNull() || size().isEmpty())
        return;
    picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(kBackground);
    setFixedSize(picture_.size());
}

int TPerfChart::ScaleY(std::int32_t percent) const
{
    const int h = picture_.height();
    // The product is exact, so a value that lands on a half pixel rounds to the even row.
    const double y = (h + 1) - static_cast<double>(std::int64_t{percent} * h) / 100.0;
    return static_cast<int>(std::clamp<std::int64_t>(RoundHalfEven(y), INT_MIN, INT_MAX));
}

void TPerfChart::ScrollLeft()
{
    const int w = picture_.width();
    if (w <= kPointWidth)
        return;
    for (int y = 0; y < picture_.height(); ++y) {
        uchar* line = picture_.scanLine(y);
        std::memmove(line, line + kPointWidth * sizeof(QRgb), (w - kPointWidth) * sizeof(QRgb));
    }
}

void TPerfChart::FillBlack(int left, int right)
{
    left = std::max(left, 0);
    right = std::min(right, picture_.width());
    if (left >= right)
        return;
    for (int y = 0; y < picture_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(y));
        std::fill(line + left, line + right, kBackground);
    }
}

void TPerfChart::SetPixel(std::int64_t x, std::int64_t y)
{
    if (x >= 0 && x < picture_.width() && y >= 0 && y < picture_.height())
        reinterpret_cast<QRgb*>(picture_.scanLine(static_cast<int>(y)))[x] = penColor_;
}

// A line from the pen up to, but not including, (x, y); the pen then rests on (x, y). One pixel
// per step along the longer axis, the other coordinate rounded from the exact slope. Only the steps
// whose longer-axis coordinate lies on the picture are walked, so a load far off the scale costs
// no more than one on it. The pen's x never strays more than 3 pixels outside the picture, so the
// products below stay well inside 64 bits.
void TPerfChart::LineTo(int x, int y)
{
    const std::int64_t dx = std::int64_t{x} - pen_.x();
    const std::int64_t dy = std::int64_t{y} - pen_.y();
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
    const std::int64_t major0 = xMajor ? pen_.x() : pen_.y();
    const std::int64_t minor0 = xMajor ? pen_.y() : pen_.x();
    const std::int64_t majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t majorLimit = xMajor ? picture_.width() : picture_.height();

    std::int64_t first = 0;
    std::int64_t last = steps - 1;
    if (majorSign > 0) {
        first = std::max(first, -major0);
        last = std::min(last, majorLimit - 1 - major0);
    } else {
        first = std::max(first, major0 - majorLimit + 1);
        last = std::min(last, major0);
    }
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t major = major0 + majorSign * i;
        const std::int64_t offset = (2 * i * std::abs(minorDelta) + steps) / (2 * steps);
        const std::int64_t minor = minor0 + (minorDelta < 0 ? -offset : offset);
        if (xMajor)
            SetPixel(major, minor);
        else
            SetPixel(minor, major);
    }
    pen_ = QPoint(x, y);
}

void TPerfChart::Init()
{
    MakePicture();
    const int w = picture_.width();
    const int h = picture_.height();
    lastFreeY_ = h;
    lastLoadY_ = h;
    picture_.fill(kBackground);

    penColor_ = kGrid;
    for (int y = 0; y < h; y += kGridStep) {
        MoveTo(0, y);
        LineTo(w, y);
    }
    for (int x = 0; x < w; x += kGridStep) {
        MoveTo(x, 0);
        LineTo(x, h);
    }
    MoveTo(w - 1, 0);
    LineTo(w - 1, h);

    MoveTo(0, h - 1);
    scrollPhase_ = 0;
    waiting_.clear();
    passedSome_ = false;
    update();
}

const QImage& TPerfChart::Picture()
{
    DrawWaitingPoints();
    return picture_;
}

void TPerfChart::Plot(std::int32_t freePercent, std::int32_t loadPercent, std::int32_t alarmPercent)
{
    MakePicture();
    DescribeReadings(std::clamp(freePercent, 0, 100), loadPercent, alarmPercent);
    const Point point{freePercent, loadPercent, alarmPercent, plotColor_.rgb()};
    const int w = picture_.width();
    // A picture too narrow to move keeps every point it was given: drawn at once.
    if (isVisible() || w <= kPointWidth) {
        DrawWaitingPoints();
        Draw(point);
        update();
        return;
    }
    waiting_.push_back(point);
    // Each point moves the picture kPointWidth pixels left, and draws no further left than 4
    // pixels from its right edge: a point followed by this many is off the picture.
    const std::size_t kept = static_cast<std::size_t>((w + 4) / kPointWidth + 1);
    while (waiting_.size() > kept) {
        Pass(waiting_.front());
        waiting_.pop_front();
    }
}

void TPerfChart::Pass(const Point& point)
{
    scrollPhase_ = (scrollPhase_ + kPhaseStep) % kPhaseTurn;
    lastLoadY_ = ScaleY(point.loadPercent);
    lastFreeY_ = ScaleY(std::clamp(point.freePercent, 0, 100));
    pen_ = QPoint(picture_.width() - 1, lastFreeY_);
    passedSome_ = true;
}

void TPerfChart::DrawWaitingPoints()
{
    if (passedSome_) {
        FillBlack(0, picture_.width());
        passedSome_ = false;
    }
    for (const Point& point : waiting_)
        Draw(point);
    waiting_.clear();
}

void TPerfChart::Draw(const Point& point)
{
    const int w = picture_.width();
    const int h = picture_.height();

    ScrollLeft();
    FillBlack(w - kPointWidth, w);

    // The horizontal grid over the new strip; the first row starts 3 pixels left of wherever the
    // previous drawing left the pen.
    penColor_ = kGrid;
    for (int y = 0; y < h; y += kGridStep) {
        MoveTo(pen_.x() - 3, y);
        LineTo(w, y);
    }

    scrollPhase_ += kPhaseStep;
    if (scrollPhase_ == kPhaseTurn) {
        scrollPhase_ = 0;
        MoveTo(w - 1, 0);
        LineTo(w - 1, h);
    }

    penColor_ = kAlarm;
    const int alarmY = ScaleY(point.alarmPercent);
    MoveTo(pen_.x() - 3, alarmY);
    LineTo(w, alarmY);

    // Each new point joins the previous one, which the shift has just moved to x = w - 3. The
    // free-memory line goes last so that it lies over the others.
    penColor_ = kLoad;
    MoveTo(w - 3, lastLoadY_);
    lastLoadY_ = ScaleY(point.loadPercent);
    LineTo(w - 1, lastLoadY_);

    penColor_ = point.freeColor;
    MoveTo(w - 3, lastFreeY_);
    lastFreeY_ = ScaleY(std::clamp(point.freePercent, 0, 100));
    LineTo(w - 1, lastFreeY_);
}
