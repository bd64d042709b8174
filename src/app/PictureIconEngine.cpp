// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PictureIconEngine.h"

#include <QApplication>
#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <algorithm>

namespace {

// Told the format and not to look further, Qt's reader goes straight to its own PNG decoder.
struct TPngReader : QImageReader {
    explicit TPngReader(const QString& file) : QImageReader(file, "png") { setAutoDetectImageFormat(false); }
};

QSize SizeOf(const QString& file)
{
    return TPngReader(file).size();
}

QPixmap Decoded(const QString& file)
{
    return QPixmap::fromImage(TPngReader(file).read());
}

}  // namespace

TPictureIconEngine::TPictureIconEngine(QStringList files, Keep keep) : files_(std::move(files)), keep_(keep) {}

const std::vector<TPictureIconEngine::TDrawing>& TPictureIconEngine::Drawings()
{
    if (!sized_) {
        for (const QString& file : std::as_const(files_))
            if (const QSize size = SizeOf(file); size.isValid())
                drawings_.push_back({file, size});
        std::sort(drawings_.begin(), drawings_.end(),
                  [](const TDrawing& a, const TDrawing& b) { return a.size.width() < b.size.width(); });
        sized_ = true;
    }
    return drawings_;
}

const TPictureIconEngine::TDrawing* TPictureIconEngine::DrawingFor(const QSize& size)
{
    const std::vector<TDrawing>& drawings = Drawings();
    if (drawings.empty())
        return nullptr;
    const auto covers = [&size](const TDrawing& drawing) {
        return drawing.size.width() >= size.width() && drawing.size.height() >= size.height();
    };
    const auto found = std::find_if(drawings.begin(), drawings.end(), covers);
    return found != drawings.end() ? &*found : &drawings.back();
}

QPixmap TPictureIconEngine::DecodedDrawing(const TDrawing& drawing)
{
    if (const auto found = decoded_->find(drawing.file); found != decoded_->end())
        return *found;
    if (keep_ == Keep::Nothing && decoded_->isEmpty())
        QTimer::singleShot(0, [decoded = std::weak_ptr<TDecoded>(decoded_)] {
            if (const std::shared_ptr<TDecoded> held = decoded.lock())
                held->clear();
        });
    return *decoded_->insert(drawing.file, Decoded(drawing.file));
}

// Shrunk and tinted here rather than by a pixmap icon of Qt's: that one would keep every pixmap
// it hands out in the application's pixmap cache, drawings let go of included.
QPixmap TPictureIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State)
{
    const TDrawing* drawing = DrawingFor(size);
    if (!drawing)
        return {};
    QPixmap drawn = DecodedDrawing(*drawing);
    if (drawn.width() > size.width() || drawn.height() > size.height())
        drawn = drawn.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (mode != QIcon::Normal) {
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        drawn = QApplication::style()->generatedIconPixmap(mode, drawn, &option);
    }
    return drawn;
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
    // The size pixmap() gives: its drawing, shrunk to fit if it is larger, never blown up.
    const TDrawing* drawing = DrawingFor(size);
    if (!drawing)
        return {};
    const bool fits = drawing->size.width() <= size.width() && drawing->size.height() <= size.height();
    return fits ? drawing->size : drawing->size.scaled(size, Qt::KeepAspectRatio);
}

QList<QSize> TPictureIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    QList<QSize> sizes;
    for (const TDrawing& drawing : Drawings())
        sizes.append(drawing.size);
    return sizes;
}

bool TPictureIconEngine::isNull()
{
    return Drawings().empty();
}

QString TPictureIconEngine::key() const
{
    return QStringLiteral("TPictureIconEngine");
}

QIconEngine* TPictureIconEngine::clone() const
{
    return new TPictureIconEngine(*this);
}
