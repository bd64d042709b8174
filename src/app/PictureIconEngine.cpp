// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PictureIconEngine.h"

#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>

TPictureIconEngine::TPictureIconEngine(const QString& name)
    : single_(QStringLiteral(":/pictures/%1.png").arg(name)), doubled_(QStringLiteral(":/pictures/%1@2x.png").arg(name))
{
}

QSize TPictureIconEngine::SingleSize()
{
    if (!singleSize_.isValid())
        singleSize_ = QImageReader(single_).size();
    return singleSize_;
}

const QIcon& TPictureIconEngine::DrawingsFor(const QSize& size)
{
    const QSize single = SingleSize();
    const bool needsDoubled = size.width() > single.width() || size.height() > single.height();
    if (needsDoubled && !doubledRead_) {
        drawings_.addFile(doubled_);
        doubledRead_ = true;
    } else if (!needsDoubled && !singleRead_) {
        drawings_.addFile(single_);
        singleRead_ = true;
    }
    return drawings_;
}

QPixmap TPictureIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    // The size asked for is in device pixels already: the drawings' own icon must not scale it again.
    return DrawingsFor(size).pixmap(size, 1.0, mode, state);
}

void TPictureIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
    drawn.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, drawn);
}

QSize TPictureIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    // The largest drawing that fits, or the 1x one shrunk to fit: never blown up.
    const QSize single = SingleSize();
    const auto fits = [&size](const QSize& drawing) { return drawing.width() <= size.width() && drawing.height() <= size.height(); };
    if (fits(single * 2))
        return single * 2;
    return fits(single) ? single : single.scaled(size, Qt::KeepAspectRatio);
}

QList<QSize> TPictureIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    const QSize single = SingleSize();
    return single.isValid() ? QList<QSize>{single, single * 2} : QList<QSize>{};
}

bool TPictureIconEngine::isNull()
{
    return !SingleSize().isValid();
}

QString TPictureIconEngine::key() const
{
    return QStringLiteral("TPictureIconEngine");
}

QIconEngine* TPictureIconEngine::clone() const
{
    return new TPictureIconEngine(*this);
}
