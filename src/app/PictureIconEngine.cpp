// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PictureIconEngine.h"

#include <QImageReader>
#include <QPaintDevice>
#include <QPainter>
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

std::vector<TPictureIconEngine::TDrawing>& TPictureIconEngine::Drawings()
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

TPictureIconEngine::TDrawing* TPictureIconEngine::DrawingFor(const QSize& size)
{
    std::vector<TDrawing>& drawings = Drawings();
    if (drawings.empty())
        return nullptr;
    const auto covers = [&size](const TDrawing& drawing) {
        return drawing.size.width() >= size.width() && drawing.size.height() >= size.height();
    };
    const auto found = std::find_if(drawings.begin(), drawings.end(), covers);
    return found != drawings.end() ? &*found : &drawings.back();
}

QPixmap TPictureIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    const TDrawing* drawing = DrawingFor(size);
    if (!drawing)
        return {};
    if (!decoded_->files.contains(drawing->file)) {
        if (keep_ == Keep::Nothing && decoded_->files.isEmpty())
            QTimer::singleShot(0, [decoded = std::weak_ptr<TDecoded>(decoded_)] {
                if (const std::shared_ptr<TDecoded> held = decoded.lock())
                    *held = {};
            });
        decoded_->drawings.addPixmap(Decoded(drawing->file));
        decoded_->files.insert(drawing->file);
    }
    // The size asked for is in device pixels already: the drawings' own icon must not scale it again.
    return decoded_->drawings.pixmap(size, 1.0, mode, state);
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
