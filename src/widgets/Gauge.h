// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QProgressBar>

class QPainter;

// The readings' gauge: a bar picture over a white ground inside a black border, with its reading
// written in the middle. In percentage mode the reading is the position as a share of the
// maximum, otherwise the position itself; either way followed by the suffix. Like every progress
// bar here it ignores a position outside its range and keeps the previous one.
class TGauge : public QProgressBar {
    Q_OBJECT
    // Settable by name, so the form's layout file can carry them.
    Q_PROPERTY(bool PercentMode READ PercentMode WRITE SetPercentMode)
    Q_PROPERTY(QString Suffix READ Suffix WRITE SetSuffix)
    Q_PROPERTY(bool TransparentPicture READ TransparentPicture WRITE SetTransparentPicture)

public:
    explicit TGauge(QWidget* parent = nullptr);

    bool PercentMode() const { return percentMode_; }
    void SetPercentMode(bool percentMode);
    QString Suffix() const { return suffix_; }
    void SetSuffix(const QString& suffix);
    // A recovery run switches the bar picture to see-through drawing; it stays so.
    bool TransparentPicture() const { return transparentPicture_; }
    void SetTransparentPicture(bool transparent);

    QString text() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool percentMode_ = false;
    QString suffix_;
    bool transparentPicture_ = false;
};

// Writes a gauge's text so that it stays readable over the bar and beside it: the part over the
// bar in one colour, the rest in the other.
void DrawGaugeText(QPainter& painter, const QRect& area, const QRect& bar, int flags, const QString& text,
                   const QColor& overBar, const QColor& beside);
